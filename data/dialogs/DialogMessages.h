#pragma once
#include <string_view>

#include "Dialog.h"
#include "DragLibrary.h"
#include "ExchangeImportExport.h"

// The library's and the exchange files' messages as message boxes over a dialog: a message with OK,
// the overwrite question with Yes/No and a stop icon.
class DialogMessages : public LibraryReporter, public ExchangeReporter {
public:
    explicit DialogMessages(ui::Dialog& dialog) : dialog_(dialog) {}
    void show(std::string_view utf8) override;
    bool askYesNo(std::string_view utf8) override;

private:
    ui::Dialog& dialog_;
};
