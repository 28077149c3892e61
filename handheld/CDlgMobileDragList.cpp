#include "CDlgMobileDragList.h"

#include <cstring>
#include <system_error>
#include <utility>

#include "CDlgMobileAbout.h"
#include "ExchangeImportExport.h"
#include "FileIO.h"
#include "LibraryRules.h"
#include "NumberText.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using namespace mobile;

namespace {
constexpr const char* kDragFileName = "drag_function.dat";

// The entry with that name in any letter case, as the desktop's import compares names; -1 when none.
int sameName(const DragLibrary& library, std::string_view name) {
    for (size_t i = 0; i < library.size(); ++i)
        if (equalIgnoringCaseCp1251(library[i].nameText(), name)) return static_cast<int>(i);
    return -1;
}
}  // namespace

const char* CDlgMobileDragList::kindText(DragFuncKind kind) {
    switch (kind) {
        case DragFuncKind::Standard: return "стандарт";
        case DragFuncKind::StandardCopy: return "копия стандартной";
        case DragFuncKind::Special: return "специальная";
    }
    return "";
}

ui::DialogTemplate CDlgMobileDragList::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Выбор драг-функции");
    ui::TemplateBuilder b(t);
    const int listBottom = kSoftKeyTop - 2 * (kRow + 6) - 4;
    b.add(kList, ui::Kind::ListView, "", {kMargin, kMargin, kInner, listBottom - kMargin},
          ui::kSingleSelection | ui::kFullRowSelect);
    const int w = (kInner - 6) / 2;
    int y = listBottom + 6;
    b.button(kImportDat, "Импорт .dat", kMargin, y, w, 0, kRow).button(kImportSnr, "Импорт .snr", kMargin + w + 6, y, w, 0, kRow);
    y += kRow + 6;
    b.button(kHelp, "Помощь", kMargin, y, kInner, 0, kRow);
    softKeys(t, {ui::kIdOk, "Выбрать"}, {ui::kIdCancel, kCancelText});
    return t;
}

CDlgMobileDragList::CDlgMobileDragList(HandheldSession& session, std::function<void()> save, ui::Dialog* parent)
    : MobileScreen(makeTemplate(), parent), session_(session), save_(std::move(save)) {}

bool CDlgMobileDragList::onInitDialog() {
    MobileScreen::onInitDialog();
    session_.reloadLibraryIfChanged();  // a sync from the desktop since the last look
    // Wider than the device's 80 and 140 for the touch-sized font: the kind and the name stay readable.
    const std::pair<const char*, int> columns[] = {{"Тип", 100}, {"Драг-функция", 170}, {"Описание", 230}, {"Уник.номер", 5}};
    for (const auto& [title, width] : columns) window().addColumn(kList, ui::ListColumn{title, width});
    fill();
    return true;
}

void CDlgMobileDragList::fill() {
    window().deleteAllRows(kList);
    const DragLibrary& library = session_.library();
    const DragFunc& current = session_.dragFunction();
    for (size_t i = 0; i < library.size(); ++i) {
        const DragFunc& f = library[i];
        const int row = static_cast<int>(i);
        window().insertRow(kList, row, kindText(f.kind));
        window().setCell(kList, row, 1, cp1251ToUtf8(f.nameText()));
        window().setCell(kList, row, 2, cp1251ToUtf8(std::string_view(f.description, strnlen(f.description, sizeof f.description))));
        window().setCell(kList, row, 3, std::to_string(f.uniqueNumber));
        if (f.nameText() == current.nameText() && f.uniqueNumber == current.uniqueNumber) {
            window().selectRow(kList, row, true);
            window().ensureRowVisible(kList, row);
        }
    }
}

int CDlgMobileDragList::selectedIndex() const {
    const std::vector<int> rows = window().selectedRows(kList);
    return rows.empty() || rows[0] >= static_cast<int>(session_.library().size()) ? -1 : rows[0];
}

bool CDlgMobileDragList::saveLibrary(const std::string& what, const DragLibrary& before, const DragFunc& currentBefore) {
    switch (session_.saveLibrary()) {
        case HandheldSession::LibrarySave::Written: return true;
        case HandheldSession::LibrarySave::ReadAgain:
            messageBox("Библиотека драг-функций изменилась на диске (синхронизация с компьютера) и прочитана заново; " +
                           what + " не выполнено.",
                       {}, ui::Buttons::Ok, ui::Icon::Warning);
            break;
        case HandheldSession::LibrarySave::Failed:
            // Memory as the disk has it: nothing the next start would not see.
            session_.library() = before;
            session_.setDragFunction(currentBefore);
            messageBox("Не удалось сохранить библиотеку драг-функций " + session_.folder().library().string() + "; " +
                           what + " не выполнено.",
                       {}, ui::Buttons::Ok, ui::Icon::Error);
            break;
    }
    return false;
}

void CDlgMobileDragList::importDat() {
    session_.reloadLibraryIfChanged();
    const fs::path file = session_.folder().folder() / kDragFileName;
    const std::optional<std::string> bytes = readWholeFile(file, kMaxLibraryFileBytes);
    if (!bytes) {
        messageBox("Файл drag_function.dat не найден");
        return;
    }
    const std::string cut = "Файл drag_function.dat не импортирован и оставлен в папке:\n";
    if (!bytes->empty()) {
        std::optional<DragFunc> read = DragLibrary::readSingleRecord(*bytes);
        if (!read) {
            messageBox(cut + "в нём нет целой драг-функции (копия оборвана?).", {}, ui::Buttons::Ok, ui::Icon::Warning);
            fill();
            return;
        }
        if (!allFinite(*read)) {
            messageBox(cut + "в нём есть значения, которые не являются числами.", {}, ui::Buttons::Ok, ui::Icon::Warning);
            fill();
            return;
        }
        DragFunc f = *read;
        DragLibrary& library = session_.library();
        const DragLibrary before = library;
        const DragFunc currentBefore = session_.dragFunction();
        f.uniqueNumber = library.nextUniqueNumber();
        if (f.kind == DragFuncKind::Standard) f.kind = DragFuncKind::StandardCopy;
        const int clash = sameName(library, f.nameText());
        // A standard entry is never replaced (G1 stays entry 0): the import comes as a copy.
        const bool replace = clash >= 0 && library[clash].kind != DragFuncKind::Standard &&
                             messageBox(std::string(kNameExistsQuestion), {}, ui::Buttons::YesNo, ui::Icon::Error) == ui::kIdYes;
        if (replace) {
            const DragFunc old = library[clash];
            library.at(clash) = f;
            // The function in use follows its replacement, with the replacement's new number.
            if (old.nameText() == currentBefore.nameText() && old.uniqueNumber == currentBefore.uniqueNumber)
                session_.setDragFunction(f);
        } else {
            if (clash >= 0) {
                messageBox(std::string(kSavingWithCopyMessage));
                f.setName(nameWithSuffix(f.nameText(), " copy"));
            }
            library.add(f);
        }
        if (!saveLibrary("импорт", before, currentBefore)) {
            fill();  // the file stays for another try
            return;
        }
        save_();  // the current function's new number
    }
    std::error_code ec;
    if (!fs::remove(file, ec) || ec) {
        fill();
        messageBox("Импортировано из файла drag_function.dat\nФайл удалить не удалось: " +
                       (ec ? ec.message() : std::string("его уже нет")),
                   {}, ui::Buttons::Ok, ui::Icon::Warning);
        return;
    }
    fill();
    messageBox(bytes->empty() ? "Файл drag_function.dat пуст: импортировать нечего.\nФайл после импорта удален"
                              : "Импортировано из файла drag_function.dat\nФайл после импорта удален");
}

void CDlgMobileDragList::importSnr() {
    ui::FileDialogOptions o;
    o.filters = {{"драг-функции (*.snr)", "*.snr"}};
    o.defaultExtension = "snr";
    o.folder = session_.folder().folder();
    const auto files = ui::backend().fileDialog(&window(), o);
    if (!files || files->empty()) return;
    session_.reloadLibraryIfChanged();
    DragLibrary& library = session_.library();
    const DragLibrary before = library;
    const DragFunc currentBefore = session_.dragFunction();
    if (!::importSnr(library, files->front())) {
        messageBox("Не могу прочитать файл " + files->front().string(), {}, ui::Buttons::Ok, ui::Icon::Warning);
        return;
    }
    if (library.size() > before.size() && !allFinite(library[library.size() - 1])) {
        library = before;
        messageBox(notNumbersMessage(files->front()), {}, ui::Buttons::Ok, ui::Icon::Warning);
        return;
    }
    saveLibrary("импорт", before, currentBefore);
    fill();
}

void CDlgMobileDragList::choose() {
    const int i = selectedIndex();
    if (i < 0) {
        messageBox("Выберите функцию");
        return;
    }
    session_.setDragFunction(session_.library()[i]);
    save_();
    endDialog(ui::kIdOk);
}

void CDlgMobileDragList::show() {
    const int i = selectedIndex();
    if (i < 0) {
        messageBox("Выберите функцию");
        return;
    }
    const DragFunc old = session_.library()[i];
    CDlgMobileDragView dlg(old, this);
    if (dlg.doModal() != ui::kIdOk || old.kind == DragFuncKind::Standard) return;
    const DragLibrary before = session_.library();
    const DragFunc currentBefore = session_.dragFunction();
    session_.library().at(i) = dlg.function();
    const bool wasCurrent = old.nameText() == currentBefore.nameText() && old.uniqueNumber == currentBefore.uniqueNumber;
    if (wasCurrent) session_.setDragFunction(dlg.function());  // renamed or changed, still the one in use
    if (saveLibrary("сохранение", before, currentBefore) && wasCurrent) save_();
    fill();
}

void CDlgMobileDragList::remove() {
    const int i = selectedIndex();
    if (i < 0) {
        messageBox("Выберите функцию\nдля удаления");
        return;
    }
    const DragFunc f = session_.library()[i];
    if (messageBox(deleteQuestion(f.nameText()), {}, ui::Buttons::YesNo, ui::Icon::Question) != ui::kIdYes) return;
    struct Shown : LibraryReporter {
        CDlgMobileDragList& dlg;
        explicit Shown(CDlgMobileDragList& d) : dlg(d) {}
        void show(std::string_view text) override { dlg.messageBox(std::string(text)); }
    } reporter(*this);
    const DragLibrary before = session_.library();
    if (session_.library().deleteByNameAndNumber(f.nameText(), f.uniqueNumber, &reporter) != DeleteResult::Deleted)
        return;
    const DragFunc current = session_.dragFunction();
    const bool wasCurrent = f.nameText() == current.nameText() && f.uniqueNumber == current.uniqueNumber;
    if (saveLibrary("удаление", before, current) && wasCurrent) {
        session_.setDragFunction(session_.library().findStandardByName("G1"));  // at once, not at the next start
        save_();
    }
    fill();
}

void CDlgMobileDragList::onListContextMenu(int id, int row, ui::Point at) {
    if (id != kList) return;
    const int chosen = ui::backend().popupMenu(&window(), kList, at,
                                               {{kMenuChoose, "Выбрать", row >= 0},
                                                {kMenuShow, "Показать", row >= 0},
                                                {kMenuDelete, "Удалить", row >= 0}});
    switch (chosen) {
        case kMenuChoose: choose(); break;
        case kMenuShow: show(); break;
        case kMenuDelete: remove(); break;
        default: break;
    }
}

void CDlgMobileDragList::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::DoubleClick && id == kList) return show();
    if (n == ui::Notify::Clicked) switch (id) {
            case kImportDat: return importDat();
            case kImportSnr: return importSnr();
            case kHelp: {
                CDlgMobileAbout dlg(CDlgMobileAbout::Help, {}, this);
                dlg.doModal();
                return;
            }
            default: break;
        }
    MobileScreen::onCommand(id, n);
}

// --- the drag function view ---

ui::DialogTemplate CDlgMobileDragView::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Драг-функция");
    ui::TemplateBuilder b(t);
    const char* labels[] = {"Название", "Описание", "Поперечная нагрузка", "Фактор гироскопической стабильности",
                            "Длина пули в дюймах", "Диаметр пули в дюймах"};
    int y = kMargin;
    for (int i = 0; i < 6; ++i) {
        b.label(labels[i], kMargin, y - ui::kLabelOffset, kInner, ui::kStaticId, 0, kLabel);
        b.add(kName + i, ui::Kind::Edit, "", {kMargin, y + kLabel, kInner, kRow}, 0);
        y += kLabel + kRow + 10;
    }
    softKeys(t, {ui::kIdOk, "Сохранить"}, {ui::kIdCancel, kCloseText});
    return t;
}

CDlgMobileDragView::CDlgMobileDragView(const DragFunc& f, ui::Dialog* parent) : MobileScreen(makeTemplate(), parent), f_(f) {}

bool CDlgMobileDragView::onInitDialog() {
    MobileScreen::onInitDialog();
    setText(kName, cp1251ToUtf8(f_.nameText()));
    setText(kDescription, cp1251ToUtf8(std::string_view(f_.description, strnlen(f_.description, sizeof f_.description))));
    setText(kSectionalDensity, ui::formatNumber(f_.sectionalDensity));
    setText(kStability, ui::formatNumber(f_.stabilityFactor));
    setText(kLength, ui::formatNumber(f_.bulletLength));
    setText(kDiameter, ui::formatNumber(f_.bulletDiameter));
    // A standard function is the same everywhere: shown, not changed.
    if (f_.kind == DragFuncKind::Standard) {
        for (int id = kName; id <= kDiameter; ++id) enable(id, false);
        enable(ui::kIdOk, false);
    }
    return true;
}

void CDlgMobileDragView::onOK() {
    const std::string name = utf8ToCp1251(text(kName));
    if (name.empty()) {
        refuseField(kName, "Название: введите имя драг-функции.");
        return;
    }
    if (name.size() > 49) {
        refuseField(kName, "Название: не длиннее 49 знаков.");
        return;
    }
    DragFunc f = f_;
    const struct {
        int id;
        const char* label;
        double* value;
    } numbers[] = {{kSectionalDensity, "Поперечная нагрузка", &f.sectionalDensity},
                   {kStability, "Фактор гироскопической стабильности", &f.stabilityFactor},
                   {kLength, "Длина пули в дюймах", &f.bulletLength},
                   {kDiameter, "Диаметр пули в дюймах", &f.bulletDiameter}};
    for (const auto& n : numbers) {
        const std::optional<double> v = ui::parseNumber(text(n.id));
        if (!v || *v < 0) {
            refuseField(n.id, std::string(n.label) + ": введите число не меньше 0.");
            return;
        }
        *n.value = *v;
    }
    f.setName(name);
    f.setDescription(utf8ToCp1251(text(kDescription)).substr(0, 255));
    f_ = f;
    endDialog(ui::kIdOk);
}
