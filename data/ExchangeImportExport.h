#pragma once
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "DragFunc.h"
#include "DragFuncOld.h"

class DragLibrary;

// Drag functions leaving and entering the program through the exchange files (formats in
// ExchangeFiles.h). The ".dat" single-record export is DragLibrary::writeSingleRecord.

// The user's side of an exchange: messages and the overwrite question, message boxes in the
// program. Texts are UTF-8.
class ExchangeReporter {
public:
    virtual ~ExchangeReporter() = default;
    virtual void show(std::string_view utf8) = 0;
    // A Yes/No question with a stop icon; true for Yes.
    virtual bool askYesNo(std::string_view utf8) = 0;
};

extern const std::string_view kCannotWriteFileMessage;  // "Не могу записать файл"
extern const std::string_view kNameExistsQuestion;      // "С таким именем уже есть.\nПерезаписать?"
extern const std::string_view kSavingWithCopyMessage;   // "Записываю с прибавкой copy"

// Writes the function as a ".snr" file. The file is replaced whole or not at all; when it cannot be
// written, "Не могу записать файл" is shown and the result is false.
bool exportSnr(const DragFunc& f, const std::filesystem::path& path, ExchangeReporter& reporter);

// Each reader adds at most one function to the library and is true when the file could be read
// (the file then counts as imported), false when it cannot be opened or is larger than
// kMaxExchangeFileBytes.
// The points go in sorted by Mach (stably), as the Cd lookup takes them.
// ".snr" and ".drg": the function read, kind Special, numbered by nextUniqueNumber, at the end.
bool importSnr(DragLibrary& library, const std::filesystem::path& path);
bool importDrg(DragLibrary& library, const std::filesystem::path& path);
// ".pro": nothing added for an empty file or one too short for its record; a record with a value
// that is not a finite number is not imported (false); else addProFunction.
bool importPro(DragLibrary& library, const std::filesystem::path& path, ExchangeReporter& reporter);

// An older record into the library: numbered by nextUniqueNumber, Standard made StandardCopy. When
// an entry has the same name in any letter case, asks "С таким именем уже есть.\nПерезаписать?":
// Yes replaces that entry in its place, No shows "Записываю с прибавкой copy" and adds the function
// with " copy" after its name (the name shortened so that " copy" fits in 49 bytes).
void addProFunction(DragLibrary& library, const DragFuncOld& old, ExchangeReporter& reporter);

// The import buttons: each file in the given order through its reader, then the count shown
// ("Импортировано функций: %d", for ".pro" "Импортировано функций %d"). Returns the count; the
// import dialog closes with OK when it is greater than 0.
enum class ImportKind { Snr, Drg, Pro };
int importFiles(DragLibrary& library, ImportKind kind, std::span<const std::filesystem::path> paths,
                ExchangeReporter& reporter);
std::string importedCountMessage(ImportKind kind, int count);

// A drag function file of any of the four kinds, told by its extension (".snr", ".drg", ".pro",
// ".dat" in any letter case), read without touching a library: for using a file as the drag
// function directly. ".snr" and ".drg" give kind Special and number 0; ".pro" and ".dat" keep their
// stored number and kind (Standard from a ".pro" made StandardCopy, as its import does). Nothing,
// with a Russian explanation (UTF-8) in `error`, when the file cannot be read, is of another kind,
// holds no whole record, has no points or has a value that is not a finite number.
std::optional<DragFunc> readDragFunctionFile(const std::filesystem::path& path, std::string& error);
