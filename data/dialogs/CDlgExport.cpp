#include "CDlgExport.h"

#include "DialogMessages.h"
#include "DragLibrary.h"
#include "ExchangeImportExport.h"
#include "TemplateBuilder.h"
#include "TextCodec.h"

namespace {
constexpr const char* kSavedMessage = "Сохранено в файл:\n";
constexpr const char* kChooseTitle = "Выбрать все - Ctr+A";
constexpr const char* kDatHelp =
    "Не переименовывайте файл drag_function.dat. Скопируйте его в папку программы на устройстве и "
    "выполните там импорт драг-функции.";

ui::FileDialogOptions saveOptions(const std::filesystem::path& folder, std::string name, const char* label,
                                  const char* extension) {
    ui::FileDialogOptions o;
    o.save = true;
    o.title = kChooseTitle;
    o.filters = {{label, std::string("*.") + extension}};
    o.defaultExtension = extension;
    o.folder = folder;
    o.fileName = std::move(name);
    o.overwritePrompt = true;
    return o;
}
}  // namespace

CDlgExport::CDlgExport(const DragFunc& f, std::filesystem::path dataFolder, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent), function_(f), dataFolder_(std::move(dataFolder)) {}

ui::DialogTemplate CDlgExport::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Экспорт";
    t.width = 400;
    t.height = 300;
    ui::TemplateBuilder b(t);
    b.label("Выбрана драг-функция для экпорта:", 12, 8, 376);
    b.label("", 12, 30, 376, kName, ui::kAlignCenter, 24);
    b.group("Для переноса в Android", 12, 62, 376, 60);
    b.button(kSnr, "Экспортировать в .snr", 100, 84, 200);
    b.group("Для переноса в tkmobile", 12, 130, 376, 124);
    b.button(kDat, "Экспортировать в .dat", 100, 152, 200);
    b.label(kDatHelp, 24, 182, 352, ui::kStaticId, ui::kMultiline, 64);
    b.button(ui::kIdCancel, "Закрыть", 292, 264, 96);
    return t;
}

std::string CDlgExport::proposedSnrName(std::string_view cp1251Name) {
    std::string name;
    for (const char c : cp1251Name.substr(0, std::min(cp1251Name.size(), cp1251Name.find('\0')))) {
        if (c == ',' || c == '.') continue;
        const bool replaced = c == '*' || c == '-' || c == ' ' || c == '/' || c == '\\' || c == ':' || c == '?' ||
                              c == '"' || c == '<' || c == '>' || c == '|';
        name += replaced ? '_' : c;
    }
    return cp1251ToUtf8(name);
}

bool CDlgExport::onInitDialog() {
    setText(kName, cp1251ToUtf8(function_.nameText()));
    ui::Font font;
    font.face = "Arial Cyr";
    font.bold = true;
    font.pixelHeight = 16;
    window().setFont(kName, font);
    window().setTextColour(kName, ui::kRed);
    return true;
}

void CDlgExport::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked && id == kSnr) return exportSnrFile();
    if (n == ui::Notify::Clicked && id == kDat) return exportDatFile();
    ui::Dialog::onCommand(id, n);
}

void CDlgExport::exportSnrFile() {
    const auto chosen = ui::backend().fileDialog(
        &window(), saveOptions(dataFolder_, proposedSnrName(function_.nameText()), "драг-функции (*.snr)", "snr"));
    if (!chosen || chosen->empty()) return;
    DialogMessages messages(*this);
    if (exportSnr(function_, chosen->front(), messages)) messageBox(kSavedMessage + chosen->front().string());
}

void CDlgExport::exportDatFile() {
    const auto chosen = ui::backend().fileDialog(
        &window(), saveOptions(dataFolder_, "drag_function", "драг-функции (*.dat)", "dat"));
    if (!chosen || chosen->empty()) return;
    // The single-record writer says nothing when it fails: the user must not be told it was saved.
    if (DragLibrary::writeSingleRecord(function_, chosen->front()))
        messageBox(kSavedMessage + chosen->front().string());
    else
        messageBox(std::string(kCannotWriteFileMessage));
}
