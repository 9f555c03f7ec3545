#include "app/kit/button_color.h"

#include <QFont>
#include <QPushButton>
#include <QVariant>

namespace k7310 {
namespace {
constexpr const char* kColorProperty = "k7310FaceColor";
}

void SetButtonColor(QPushButton* button, const QColor& color) {
  button->setProperty(kColorProperty, color);
  // A new style sheet re-polishes the button, which would drop the font it inherited from the window.
  const QFont font = button->font();
  // The hover colour stands for the hot-track colour of the original buttons.
  button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; padding: 1px; }"
                                       "QPushButton:hover { background-color: %2; }"
                                       "QPushButton:pressed { border: 1px inset #404040; }"
                                       "QPushButton:disabled { color: #808080; }")
                            .arg(color.name(), kButtonOpen.name()));
  button->setFont(font);
}

QColor ButtonColor(const QPushButton* button) {
  const QVariant v = button->property(kColorProperty);
  return v.isValid() ? v.value<QColor>() : kButtonNormal;
}

}  // namespace k7310
