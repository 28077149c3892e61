#include "CDlgPDA.h"

#include "TemplateBuilder.h"
#include "TextCodec.h"

namespace {
constexpr const char* kExplanation =
    "Подключите устройство (телефон по SSH, USB-флешку или папку, которую синхронизирует телефон), выберите "
    "на нём папку данных программы tkmobile и нажмите на кнопку. Драг-функция записана в файл "
    "drag_function.dat. Затем этот файл перепишется в выбранную папку. Затем в tkmobile надо этот файл "
    "импортировать («Импорт .dat»).";
}  // namespace

CDlgPDA::CDlgPDA(TransferSource source, std::filesystem::path dataFolder, std::string functionName, Device device,
                 ui::Dialog* parent)
    : CDlgDeviceTransfer(makeTemplate(), std::move(source), std::move(dataFolder), std::move(device), kSend, parent),
      functionName_(std::move(functionName)) {}

ui::DialogTemplate CDlgPDA::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Передача на устройство";
    t.width = 460;
    t.height = 292;
    ui::TemplateBuilder b(t);
    b.label(kExplanation, 12, 8, 436, ui::kStaticId, ui::kMultiline, 108);
    addFolderRow(t, 124, t.width);
    b.label("Выбрана функция:", 12, 176, 436);
    b.edit(kFunctionName, 12, 196, 436, ui::kReadOnly);
    b.button(kSend, "Послать драг-функцию в PDA", 12, 256, 280, ui::kDefault);
    b.button(ui::kIdCancel, "Закрыть", 352, 256, 96);
    return t;
}

bool CDlgPDA::onInitDialog() {
    setText(kFunctionName, cp1251ToUtf8(functionName_));
    return CDlgDeviceTransfer::onInitDialog();
}
