#include "HandheldSession.h"

#include "FileIO.h"
#include "ShotSettings.h"
#include "ShownInput.h"
#include "TextCodec.h"

namespace fs = std::filesystem;

HandheldSession::HandheldSession(fs::path folder) : folder_(DataFolder::at(folder)) {}

void HandheldSession::load() {
    folder_.prepare();
    if (readSettingsFile(folder_.tableSettings(), tableSettings_) == SettingsFileRead::NotTaken)
        kept_.keep(folder_.tableSettings());
    sanitizeTableSettings(tableSettings_, replaced_, true);
    // A file of another length (the desktop's record among them) is not the handheld's: the defaults.
    if (readSettingsFile(folder_.settings(), settings_) == SettingsFileRead::NotTaken) kept_.keep(folder_.settings());
    inputs_ = sanitizedShotInputs(settings_, replaced_);
    // The target angle field as it was last shown, degrees or cosine.
    const ShownUnit angleUnit = settings_.angleMode == kAngleModeCosine ? ShownUnit::Cosine : ShownUnit::AsIs;
    const InputField& angle = *findInputField("target-angle");
    if (const auto degrees = inputFromShown(settings_.targetAngleField, angleUnit); degrees && angle.refusal(*degrees).empty())
        inputs_.targetAngle = *degrees;

    library_.loadAtStart(folder_.oldLibrary(), folder_.library());
    libraryOnDisk_ = readWholeFile(folder_.library(), kMaxLibraryFileBytes);
    setDragFunction(library_.findByNameAndNumber(utf8ToCp1251(inputs_.dragFunctionName),
                                                 inputs_.dragFunctionNumber.value_or(0)));
}

void HandheldSession::setDragFunction(const DragFunc& f) {
    dragFunction_ = f;
    inputs_.dragFunctionName = cp1251ToUtf8(f.nameText());
    inputs_.dragFunctionNumber = f.uniqueNumber;
}

std::vector<fs::path> HandheldSession::saveSettings() {
    storeShotInputs(inputs_, settings_);
    folder_.prepare();  // made again when it has gone missing meanwhile
    std::vector<fs::path> failed;
    const auto write = [&](const fs::path& path, const auto& record) {
        if (!kept_.beforeOverwrite(path) || !saveSettingsFile(path, record)) failed.push_back(path);
    };
    write(folder_.tableSettings(), tableSettings_);
    write(folder_.settings(), settings_);
    return failed;
}

bool HandheldSession::reloadLibraryIfChanged() {
    std::optional<std::string> now = readWholeFile(folder_.library(), kMaxLibraryFileBytes);
    if (!now || now == libraryOnDisk_) return false;
    DragLibrary fresh;
    if (fresh.addLibraryBytes(*now) == LibraryRead::Missing) return false;
    library_ = std::move(fresh);
    libraryOnDisk_ = std::move(now);
    // The current function as the new library holds it (G1 when it is no longer there).
    setDragFunction(library_.findByNameAndNumber(dragFunction_.nameText(), dragFunction_.uniqueNumber));
    return true;
}

HandheldSession::LibrarySave HandheldSession::saveLibrary() {
    if (reloadLibraryIfChanged()) return LibrarySave::ReadAgain;
    folder_.prepare();
    if (!library_.saveLibrary(folder_.library())) return LibrarySave::Failed;
    libraryOnDisk_ = library_.libraryBytes();
    return LibrarySave::Written;
}

std::string HandheldSession::startProblems() const {
    std::string text;
    if (!folder_.ready())
        text = "Папка данных «" + folder_.folder().string() + "» недоступна: " + folder_.problemText() +
               ".\nНастройки не будут сохранены, пока это так.";
    if (!replaced_.empty()) {
        if (!text.empty()) text += "\n\n";
        text += "Недопустимые значения в сохранённых настройках заменены значениями первого запуска:";
        for (const std::string& label : replaced_) text += "\n" + label;
    }
    return text;
}
