#include "ui/ReadOnlyLook.h"

#include <QPalette>
#include <QWidget>

namespace talvor {

void showDisabledAsReadOnly(QWidget& area) {
    QPalette palette = area.palette();
    for (const QPalette::ColorRole role :
         {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    palette.setColor(QPalette::Disabled, QPalette::Base,
                     palette.color(QPalette::Active, QPalette::Window));
    area.setPalette(palette);
}

}  // namespace talvor
