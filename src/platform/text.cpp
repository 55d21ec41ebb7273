#include "platform/text.h"

#include <QFontMetrics>
#include <QPainter>

namespace tarvelis {

QFont GameFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setKerning(false);
  return font;
}

void DrawText(QImage& image, int x, int y, const QString& text, int pixelSize, bool bold,
              const QColor& colour) {
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font = GameFont(pixelSize, bold);
  painter.setFont(font);
  painter.setPen(colour);
  QFontMetrics metrics(font);
  painter.drawText(x, y + metrics.ascent(), text);
}

int TextWidth(const QString& text, int pixelSize, bool bold) {
  return QFontMetrics(GameFont(pixelSize, bold)).horizontalAdvance(text);
}

int TextHeight(int pixelSize, bool bold) {
  return QFontMetrics(GameFont(pixelSize, bold)).height();
}

bool TableFontWouldDrawWrong() {
  // A seat name of nine letters must fit the 75 pixels that the table leaves
  // for it; DejaVu Sans at 11 px gives about 60.
  return TextWidth(QStringLiteral("WWWWWWWWW"), kSmallTextPx, false) > 3 * 75 / 2 ||
         TextWidth(QStringLiteral("Jugador1"), kSmallTextPx, false) > 75;
}

}  // namespace tarvelis
