#pragma once
#include "CBulletDimensions.h"
#include "CBulletsArray.h"
#include "Dialog.h"

// "База размеров пуль": the bullet database as a list to pick from, look at and delete from. It
// works on its own copy: after kIdOk ("Выбрать и закрыть", "Закрыть") the opener takes bullets(),
// with the deletions, and selection(); "Отставить!" leaves the opener's database as it was.
class CDlgBullets : public ui::Dialog {
public:
    enum : int {
        IDD = 191,
        kList = 1001,
        kDelete = 1002,
        kShow = 1003,
        kClose = 1004,
    };

    CDlgBullets(const CBulletsArray& bullets, const CBulletDimensions& selection, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    const CBulletsArray& bullets() const { return bullets_; }
    const CBulletDimensions& selection() const { return selection_; }

protected:
    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;

private:
    void fillList();
    // The record of the first selected row; false, after "Выберите пулю" (or `noRowMessage`), when
    // no row is selected.
    bool selectedBullet(CBulletDimensions& out, const char* noRowMessage = nullptr);
    void deleteSelected();
    void showSelected();

    CBulletsArray bullets_;
    CBulletDimensions selection_;
};
