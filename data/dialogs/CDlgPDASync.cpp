#include "CDlgPDASync.h"

#include "TemplateBuilder.h"

namespace {
constexpr const char* kWarning =
    "При синхронизации весь список драг-функций переносится на PDA (наладонник, коммуникатор, телефон). Все "
    "драг-функции, которые были в наладоннике - стираются.";
}  // namespace

CDlgPDASync::CDlgPDASync(TransferSource source, std::filesystem::path dataFolder, Device device, ui::Dialog* parent)
    : CDlgDeviceTransfer(makeTemplate(), std::move(source), std::move(dataFolder), std::move(device), kSync, parent) {}

ui::DialogTemplate CDlgPDASync::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Синхронизация с PDA";
    t.width = 460;
    t.height = 196;
    ui::TemplateBuilder b(t);
    b.label(kWarning, 12, 8, 436, ui::kStaticId, ui::kMultiline, 52);
    addFolderRow(t, 70, t.width);
    b.button(kSync, "Синхронизировать", 12, 160, 200, ui::kDefault);
    b.button(ui::kIdCancel, "Закрыть", 352, 160, 96);
    return t;
}
