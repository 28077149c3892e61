#pragma once
#include <string>

#include "CBulletDimensions.h"
#include "Dialog.h"

// "Размеры пули": a bullet's measurements as text to select and copy into a letter or a forum post.
class CDlgShowBulletDim : public ui::Dialog {
public:
    enum : int {
        IDD = 192,
        kReport = 1001,
    };

    explicit CDlgShowBulletDim(const CBulletDimensions& bullet, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

protected:
    bool onInitDialog() override;

private:
    CBulletDimensions bullet_;
};
