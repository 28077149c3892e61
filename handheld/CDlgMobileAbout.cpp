#include "CDlgMobileAbout.h"

using namespace mobile;

namespace {
constexpr const char* kHelpText =
    "Большинство производителей бал. коэф. дают их в драг-функции G1. Если Вы меняете драг-функцию, необходимо "
    "сменить и баллистический коэффициент.\n\n"
    "В случае, если драг-функция сделана по геометрическим размерам пули, баллистический коэффицент вообще не "
    "нужен. По размерам пули драг-функция строится на \"большом\" компьютере и импортируется сюда.\n\n"
    "Если Вы применяете драг-функцию G1, то калькулятор функционирует как все остальные баллистические "
    "калькуляторы. Рекомендую вернуться к этому режиму, если Вы запутались и отчаялись...";
}  // namespace

ui::DialogTemplate CDlgMobileAbout::makeTemplate(Page page, const std::filesystem::path& dataFolder) {
    ui::DialogTemplate t = frame(IDD, page == About ? "О программе" : "Помощь");
    ui::TemplateBuilder b(t);
    std::string text = kHelpText;
    if (page == About)
        text = "Баллистический калькулятор Trajekton 1.37\n\n"
               "Внешняя баллистика для стрелка: поправки по вертикали и горизонтали, таблица поправок, "
               "драг-функции пуль.\nПо программам Trajekton для настольного компьютера и карманного устройства.\n\n"
               "Папка данных (её выбирают как устройство, посылая драг-функции с компьютера):\n" +
               dataFolder.string();
    b.add(kText, ui::Kind::Label, text, {kMargin, kMargin, kInner, kSoftKeyTop - 2 * kMargin}, ui::kMultiline);
    softKeys(t, {}, {ui::kIdCancel, kCloseText});
    return t;
}

CDlgMobileAbout::CDlgMobileAbout(Page page, const std::filesystem::path& dataFolder, ui::Dialog* parent)
    : MobileScreen(makeTemplate(page, dataFolder), parent) {}
