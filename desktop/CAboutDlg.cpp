#include "CAboutDlg.h"

#include "TemplateBuilder.h"

CAboutDlg::CAboutDlg(ui::Dialog* parent) : ui::Dialog(makeTemplate(), parent) {}

ui::DialogTemplate CAboutDlg::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "О программе Trajekton";
    t.width = 340;
    t.height = 140;
    ui::TemplateBuilder b(t);
    b.label("Бал.калькулятор Trajekton v.1.37", 16, 12, 308, kVersion);
    b.label("Вопросы и пожелания: через сайт программы", 16, 36, 308, kContact);
    b.add(kLink, ui::Kind::Canvas, "trajekton.ru", {16, 64, 150, 18}, 0);
    b.button(ui::kIdOk, "OK", 232, 102, 96, ui::kDefault);
    return t;
}

bool CAboutDlg::onInitDialog() {
    link_.setText("trajekton.ru");
    link_.setLink(kWebPage);
    link_.setTooltip("Открыть сайт");
    link_.attach(*this, kLink);
    return true;
}
