// Opening the current carcass window where the line can read it (see CarcassWindowPlace), and
// remembering where the operator left it. Its own keys: the "CC*" keys hold what the shut-down
// has always written into them.

#include "carcasswindow/WeighingControls.h"

#include "carcasswindow/CurrentCarcassWindow.h"
#include "layout/CarcassWindowPlace.h"
#include "settings/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

const std::string kSection = "Properties";
constexpr const char* kPlaceKeys[4] = {"CurrentCarcassLeft", "CurrentCarcassTop", "CurrentCarcassWidth",
                                       "CurrentCarcassHeight"};

std::optional<int> WholeNumber(const std::string& text)
{
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    size_t at = text[0] == '-' ? 1 : 0;
    if (at == text.size())
        return std::nullopt;
    int value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9')
            return std::nullopt;
        value = value * 10 + (text[at] - '0');
    }
    return text[0] == '-' ? -value : value;
}

} // namespace

std::optional<QRect> WeighingControls::SavedCurrentCarcassPlace() const
{
    int values[4];
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> value = WholeNumber(links_.settings.ReadSetting(kSection, kPlaceKeys[i], ""));
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    const QRect place(values[0], values[1], values[2], values[3]);
    return place.isValid() ? std::optional<QRect>(place) : std::nullopt;
}

void WeighingControls::ShowCurrentCarcassWindowPlaced(CurrentCarcassWindow& window)
{
    window.placeLeft = [this](const QRect& place) {
        const int values[4] = {place.x(), place.y(), place.width(), place.height()};
        for (int i = 0; i < 4; ++i)
            links_.settings.WriteSetting(kSection, kPlaceKeys[i], std::to_string(values[i]));
    };
    if (!window.isVisible()) {
        CarcassWindowSituation situation;
        const QList<QScreen*> screens = QGuiApplication::screens();
        for (const QScreen* s : screens)
            situation.screens.append(ScreenArea{s->geometry(), s->availableGeometry()});
        const QWidget& main = *links_.mainWindow;
        situation.mainScreen = std::max<qsizetype>(0, screens.indexOf(main.screen()));
        situation.mainFrame = main.frameGeometry();
        const QRect inner = main.geometry();
        const QRect outer = main.frameGeometry();
        situation.frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                                   outer.right() - inner.right(), outer.bottom() - inner.bottom());
        situation.designed = window.designedSize();
        situation.saved = SavedCurrentCarcassPlace();
        situation.least = window.minimumSize();
        const CarcassWindowPlace place = PlaceCarcassWindow(situation);
        // On separate X screens a window stays on the one it was made on whatever its geometry:
        // it is put on the screen it is sized for first.
        if (place.screen >= 0 && place.screen < screens.size() && screens[place.screen] != window.screen())
            window.setScreen(screens[place.screen]);
        window.setGeometry(place.geometry);
        if (place.fullScreen) {
            window.showFullScreen();
            return;
        }
    }
    window.show();
}
