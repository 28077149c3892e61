#include "CDlgShowBulletDim.h"

#include "BulletReport.h"
#include "TemplateBuilder.h"

CDlgShowBulletDim::CDlgShowBulletDim(const CBulletDimensions& bullet, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent), bullet_(bullet) {}

ui::DialogTemplate CDlgShowBulletDim::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Размеры пули";
    t.width = 440;
    t.height = 330;
    ui::TemplateBuilder b(t);
    b.label("Здесь Вы можете выделить и скопировать размеры своей пули для последующей вставки в "
            "эл.письмо или в сообщение (в конференции)",
            12, 6, 416, ui::kStaticId, ui::kMultiline, 34);
    // Read-only, but its text can be selected and copied.
    b.add(kReport, ui::Kind::Edit, "", {12, 46, 416, 236}, ui::kReadOnly | ui::kMultiline);
    b.button(ui::IDOK, "Закрыть", 328, 292, 100, ui::kDefault);
    return t;
}

bool CDlgShowBulletDim::onInitDialog() {
    setText(kReport, bulletReportText(bullet_));
    window().setFocus(kReport);
    window().selectAllText(kReport);
    return false;
}
