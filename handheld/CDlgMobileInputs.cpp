#include "CDlgMobileInputs.h"

#include "CDlgMobileDragList.h"
#include "CDlgMobileInputScreen.h"
#include "HandheldSummaries.h"

using namespace mobile;

ui::DialogTemplate CDlgMobileInputs::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Ввод данных");
    ui::TemplateBuilder b(t);
    const int bw = 56, h = 80;
    int y = kMargin;
    for (int i = 0; i < 4; ++i) {
        b.add(kRifle + i, ui::Kind::Label, "", {kMargin, y, kInner - bw - 8, h}, ui::kMultiline | ui::kSunken);
        b.button(kRifleOpen + i, ">", kMargin + kInner - bw, y + (h - 56) / 2, bw, ui::kNoStyle, 56);
        y += h + 8;
    }
    b.add(kZeroHere, ui::Kind::CheckBox, "Пристрелка на месте", {kMargin, y, kInner, kRow}, ui::kNoStyle);
    softKeys(t, {ui::kIdOk, kOkText}, {ui::kIdCancel, kCancelText});
    return t;
}

CDlgMobileInputs::CDlgMobileInputs(HandheldSession& session, std::function<void()> save, ui::Dialog* parent)
    : MobileScreen(makeTemplate(), parent), session_(session), save_(std::move(save)) {}

bool CDlgMobileInputs::onInitDialog() {
    MobileScreen::onInitDialog();
    setChecked(kZeroHere, session_.inputs().sameAtmosphere);
    showSummaries();
    return true;
}

void CDlgMobileInputs::showSummaries() {
    const ShotInputs& in = session_.inputs();
    setText(kRifle, rifleSummary(in, session_.settings().clicksInMil != 0));
    setText(kCartridge, cartridgeSummary(in, session_.dragFunction()));
    setText(kAtmosphere, atmosphereSummary(in));
    ShotInputs shown = in;
    shown.sameAtmosphere = isChecked(kZeroHere);
    setText(kZeroing, zeroingSummary(shown));
}

void CDlgMobileInputs::open(int page) {
    ShotInputs start = session_.inputs();
    start.sameAtmosphere = isChecked(kZeroHere);  // as the box here shows it now
    const auto choose = [this](ui::Dialog* over) {
        CDlgMobileDragList list(session_, save_, over);
        list.doModal();
        return session_.dragFunction();
    };
    CDlgMobileInputScreen dlg(static_cast<CDlgMobileInputScreen::Page>(page), start, session_.settings(),
                              session_.dragFunction(), this, choose);
    if (dlg.doModal() != ui::kIdOk) return;
    session_.inputs() = dlg.inputs();
    session_.settings().pressureInHpa = dlg.pressureInHpa() ? 1 : 0;
    setChecked(kZeroHere, dlg.inputs().sameAtmosphere);
    save_();
    showSummaries();
}

void CDlgMobileInputs::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked) {
        if (id >= kRifleOpen && id <= kZeroingOpen) return open(id - kRifleOpen);
        if (id == kZeroHere) return showSummaries();
    }
    MobileScreen::onCommand(id, n);
}

void CDlgMobileInputs::onOK() {
    if (session_.inputs().sameAtmosphere != isChecked(kZeroHere)) {
        session_.inputs().sameAtmosphere = isChecked(kZeroHere);
        save_();
    }
    endDialog(ui::kIdOk);
}
