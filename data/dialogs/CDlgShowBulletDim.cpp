#include "CDlgShowBulletDim.h"

#include "BulletReport.h"
#include "TemplateBuilder.h"

CDlgShowBulletDim::CDlgShowBulletDim(const CBulletDimensions& bullet, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent), bullet_(bullet) {}

ui::DialogTemplate CDlgShowBulletDim::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Размеры пули";
    t.width = 500;
    t.height = 340;
    ui::TemplateBuilder b(t);
    b.label("Здесь Вы можете выделить и скопировать размеры своей пули для последующей вставки в "
            "эл.письмо или в сообщение (в конференции)",
            12, 4, 476, ui::kStaticId, ui::kMultiline, 40);
    // Read-only, but its text can be selected and copied.
    b.add(kReport, ui::Kind::Edit, "", {12, 52, 476, 240}, ui::kReadOnly | ui::kMultiline);
    b.button(ui::kIdOk, "Закрыть", 388, 302, 100, ui::kDefault);
    return t;
}

bool CDlgShowBulletDim::onInitDialog() {
    setText(kReport, bulletReportText(bullet_));
    window().setFocus(kReport);
    window().selectAllText(kReport);
    return false;
}
