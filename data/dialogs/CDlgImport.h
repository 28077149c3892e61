#pragma once
#include <filesystem>

#include "Dialog.h"
#include "DragLibrary.h"
#include "ExchangeImportExport.h"

// "Импорт драг-функций": drag functions from ".snr", Lapua ".drg" and older ".pro" files into the
// library, several files at a time. Ends with kIdOk as soon as a file was imported, so that the
// manager shows the new entries.
class CDlgImport : public ui::Dialog {
public:
    enum : int {
        IDD = 161,
        kSnr = 1000,
        kPro = 1108,
        kLapua = 1109,
    };

    CDlgImport(DragLibrary& library, std::filesystem::path dataFolder, ui::Dialog* parent = nullptr);

    static ui::DialogTemplate makeTemplate();

protected:
    void onCommand(int id, ui::Notify n) override;

private:
    void importKind(ImportKind kind);

    DragLibrary& library_;
    std::filesystem::path dataFolder_;
};
