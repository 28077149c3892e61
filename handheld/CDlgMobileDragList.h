#pragma once
#include <functional>

#include "HandheldSession.h"
#include "MobileScreen.h"

// The drag function list "Выбор драг-функции": choose the current function, look at one and change
// its bullet data, delete one, import one sent by the desktop ("drag_function.dat" in the data
// folder) or an ".snr" file. Every change of the library is saved at once; the current function
// follows a replacement, and a deleted current function makes G1 current.
class CDlgMobileDragList : public MobileScreen {
public:
    enum : int {
        IDD = 250,
        kList = 1001,
        kImportDat = 1002,
        kImportSnr = 1003,
        kHelp = 1004,
        // The tap-and-hold menu.
        kMenuChoose = 1101,
        kMenuShow = 1102,
        kMenuDelete = 1103,
    };
    CDlgMobileDragList(HandheldSession& session, std::function<void()> save, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();

    // The texts of the type column.
    static const char* kindText(DragFuncKind kind);

    void importDat();
    void importSnr();
    void choose();
    void show();
    void remove();

protected:
    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override { choose(); }
    void onListContextMenu(int id, int row, ui::Point at) override;

private:
    void fill();
    // The selected entry's index; -1 when none.
    int selectedIndex() const;
    // The library saved; false (after saying so) when it could not be written (the library and the
    // current function are then as before the change) or was replaced on disk meanwhile (read again).
    bool saveLibrary(const std::string& what, const DragLibrary& before, const DragFunc& currentBefore);

    HandheldSession& session_;
    std::function<void()> save_;
};

// The drag function view: name, description and the bullet's data; "Сохранить" stores them into the
// entry (a standard function is only shown), "Закрыть" changes nothing.
class CDlgMobileDragView : public MobileScreen {
public:
    enum : int { IDD = 251, kName = 1001, kDescription, kSectionalDensity, kStability, kLength, kDiameter };
    CDlgMobileDragView(const DragFunc& f, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();
    const DragFunc& function() const { return f_; }

protected:
    bool onInitDialog() override;
    void onOK() override;

private:
    DragFunc f_;
};
