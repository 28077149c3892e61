#include "CDlgBullets.h"

#include <string>

#include "CDlgShowBulletDim.h"
#include "TemplateBuilder.h"
#include "TextCodec.h"

namespace {
constexpr const char* kChooseBullet = "Выберите пулю";
}

CDlgBullets::CDlgBullets(const CBulletsArray& bullets, const CBulletDimensions& selection, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent), bullets_(bullets), selection_(selection) {}

ui::DialogTemplate CDlgBullets::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "База размеров пуль";
    t.width = 568;
    t.height = 300;
    ui::TemplateBuilder b(t);
    b.add(kList, ui::Kind::ListView, "", {12, 12, 396, 276}, ui::kFullRowSelect);
    b.button(ui::kIdOk, "Выбрать и закрыть", 420, 12, 136, ui::kDefault)
        .button(kShow, "Показать", 420, 46, 136)
        .button(kDelete, "Удалить", 420, 80, 136)
        .button(kClose, "Закрыть", 420, 228, 136)
        .button(ui::kIdCancel, "Отставить!", 420, 262, 136);
    return t;
}

bool CDlgBullets::onInitDialog() {
    ui::DialogWindow& w = window();
    // Wide enough for the names of the starting list in the desktop's font (210 pixels were made
    // for a smaller one).
    w.addColumn(kList, ui::ListColumn{"Пуля", 320});
    // Practically hidden: the number only tells apart records of the same name.
    w.addColumn(kList, ui::ListColumn{"Уник.номер", 5});
    fillList();
    w.setFocus(kList);
    return false;
}

void CDlgBullets::fillList() {
    ui::DialogWindow& w = window();
    w.batchUpdate(kList, true);
    w.deleteAllRows(kList);
    int row = 0;
    for (const CBulletDimensions& b : bullets_) {
        w.insertRow(kList, row, cp1251ToUtf8(b.nameText()));
        w.setCell(kList, row, 1, std::to_string(b.uniqueNumber));
        ++row;
    }
    w.batchUpdate(kList, false);
}

bool CDlgBullets::selectedBullet(CBulletDimensions& out, const char* noRowMessage) {
    const std::vector<int> rows = window().selectedRows(kList);
    const size_t row = rows.empty() ? bullets_.GetSize() : static_cast<size_t>(rows.front());
    if (row >= bullets_.GetSize()) {
        messageBox(noRowMessage ? noRowMessage : kChooseBullet, {}, ui::Buttons::Ok, ui::Icon::Information);
        return false;
    }
    // The list shows the database in its order, so the row is the record the user picked (a search
    // by the row's name and number would take the first of two records that share both).
    out = bullets_[row];
    return true;
}

void CDlgBullets::onOK() {
    CBulletDimensions chosen;
    if (selectedBullet(chosen)) selection_ = chosen;
    endDialog(ui::kIdOk);
}

void CDlgBullets::deleteSelected() {
    CBulletDimensions b;
    if (!selectedBullet(b, "Выберите функцию\nдля удаления")) return;
    if (messageBox("Действительно удалить\nвыбранную пулю?", {}, ui::Buttons::YesNo, ui::Icon::Error) != ui::kIdYes)
        return;
    bullets_.RemoveMatching(b.nameText(), b.uniqueNumber);
    fillList();
}

void CDlgBullets::showSelected() {
    CBulletDimensions b;
    if (!selectedBullet(b)) return;
    selection_ = b;
    CDlgShowBulletDim report(b, this);
    report.doModal();
}

void CDlgBullets::onCommand(int id, ui::Notify n) {
    if (id == kList && n == ui::Notify::DoubleClick) {
        showSelected();
        return;
    }
    if (n == ui::Notify::Clicked) {
        switch (id) {
            case kDelete: deleteSelected(); return;
            case kShow: showSelected(); return;
            case kClose: endDialog(ui::kIdOk); return;
            default: break;
        }
    }
    ui::Dialog::onCommand(id, n);
}
