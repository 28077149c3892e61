#include "CDlgImport.h"

#include "CXFileDialog.h"
#include "DialogMessages.h"
#include "TemplateBuilder.h"

CDlgImport::CDlgImport(DragLibrary& library, std::filesystem::path dataFolder, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent), library_(library), dataFolder_(std::move(dataFolder)) {}

ui::DialogTemplate CDlgImport::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Импорт драг-функций";
    t.width = 520;
    t.height = 256;
    ui::TemplateBuilder b(t);
    constexpr int buttonW = 210, textX = 234, textW = 274;
    b.button(kSnr, "Импорт", 12, 12, buttonW);
    b.label("Импорт драг-функции(й) из файла (*.snr), сгенерированного этой же программой", textX, 8, textW,
            ui::kStaticId, ui::kMultiline, 52);
    b.button(kLapua, "Импорт Lapua", 12, 76, buttonW);
    b.label("Импорт драг-функции(й) из файла (*.drg), созданного компанией Lapua для своих пуль", textX, 72,
            textW, ui::kStaticId, ui::kMultiline, 52);
    b.button(kPro, "Импорт из старого формата", 12, 140, buttonW);
    b.label("Импорт драг-функции(й) из файла (*.pro), сгенерированного этой же программой\n"
            "(в настоящее время не применяется)",
            textX, 136, textW, ui::kStaticId, ui::kMultiline, 72);
    b.button(ui::kIdOk, "OK", 308, 220, 96, ui::kDefault);
    b.button(ui::kIdCancel, "Отмена", 412, 220, 96);
    return t;
}

void CDlgImport::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked && id == kSnr) return importKind(ImportKind::Snr);
    if (n == ui::Notify::Clicked && id == kLapua) return importKind(ImportKind::Drg);
    if (n == ui::Notify::Clicked && id == kPro) return importKind(ImportKind::Pro);
    ui::Dialog::onCommand(id, n);
}

void CDlgImport::importKind(ImportKind kind) {
    const char* extension = kind == ImportKind::Snr ? "snr" : kind == ImportKind::Drg ? "drg" : "pro";
    const std::string pattern = std::string("*.") + extension;
    CXFileDialog files({{"драг-функции (" + pattern + ")", pattern}}, extension, dataFolder_, this);
    files.setTitle("Выбрать все - Ctr+A");
    if (files.doModal() != ui::kIdOk) return;
    DialogMessages messages(*this);
    if (importFiles(library_, kind, files.fileNames(), messages) > 0) endDialog(ui::kIdOk);
}
