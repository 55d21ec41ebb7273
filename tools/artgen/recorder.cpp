// The recorder panel: a small gun-metal remote with an on/off slide switch and
// five keys. The pressed pictures and the switch pictures are cut from whole
// panels drawn in each state, so they always match the panel around them.
#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>

#include "artgen.h"
#include "icons.h"
#include "layer.h"

namespace artgen {
namespace {

namespace art = tarvelis::art;

void PaintBody(QPainter& p, int w, int h) {
  QLinearGradient metal(0, 0, w, h);
  metal.setColorAt(0, QColor(0x5C, 0x64, 0x6C));
  metal.setColorAt(1, QColor(0x26, 0x2A, 0x2F));
  p.fillRect(QRect(0, 0, w, h), metal);
  p.fillRect(QRect(1, 1, w - 2, 1), QColor(0x8A, 0x92, 0x9A));
  p.fillRect(QRect(1, 1, 1, h - 2), QColor(0x7A, 0x82, 0x8A));
  p.fillRect(QRect(2, h - 2, w - 3, 1), QColor(0x16, 0x18, 0x1B));
  p.fillRect(QRect(w - 2, 2, 1, h - 3), QColor(0x16, 0x18, 0x1B));
  p.setPen(QPen(QColor(0x0A, 0x0B, 0x0D), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
  // Engraved lines between the switch and the keys.
  for (int y : {22, 55}) {
    p.fillRect(QRect(5, y, w - 10, 1), QColor(0x1A, 0x1D, 0x20));
    p.fillRect(QRect(5, y + 1, w - 10, 1), QColor(0x6A, 0x72, 0x7A));
  }
}

void PaintSwitch(QPainter& p, bool on) {
  const art::Cell a = art::kRecorderSwitchArea;
  const QRectF groove(a.x + 0.5, a.y + 0.5, a.w - 1, a.h - 1);
  p.setPen(QPen(QColor(0x08, 0x09, 0x0A), 1.0));
  p.setBrush(QColor(0x14, 0x16, 0x18));
  p.drawRoundedRect(groove, 4, 4);
  // The uncovered half of the groove shows the state: green lit when on.
  const QRectF lamp =
      on ? QRectF(a.x + 3, a.y + 3, 15, a.h - 6) : QRectF(a.x + a.w - 18, a.y + 3, 15, a.h - 6);
  QLinearGradient glow(0, lamp.top(), 0, lamp.bottom());
  glow.setColorAt(0, on ? QColor(0xB6, 0xFF, 0x8A) : QColor(0x7A, 0x24, 0x20));
  glow.setColorAt(1, on ? QColor(0x2E, 0xB0, 0x22) : QColor(0x42, 0x0C, 0x0A));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawRoundedRect(lamp, 2.5, 2.5);
  // The knob.
  const QRectF knob = on ? QRectF(a.x + a.w - 20, a.y + 1.5, 18.5, a.h - 3)
                         : QRectF(a.x + 1.5, a.y + 1.5, 18.5, a.h - 3);
  QLinearGradient chrome(0, knob.top(), 0, knob.bottom());
  chrome.setColorAt(0, QColor(0xF2, 0xF4, 0xF6));
  chrome.setColorAt(0.5, QColor(0xB4, 0xBA, 0xC0));
  chrome.setColorAt(1, QColor(0x6A, 0x70, 0x78));
  p.setPen(QPen(QColor(0x10, 0x12, 0x14), 1.0));
  p.setBrush(chrome);
  p.drawRoundedRect(knob, 3, 3);
  p.setPen(QPen(QColor(0x50, 0x56, 0x5E), 1.0));
  for (int i = -1; i <= 1; ++i) {
    const double x = knob.center().x() + i * 3.0;
    p.drawLine(QPointF(x, knob.top() + 3), QPointF(x, knob.bottom() - 3));
  }
}

// The glyph of control n, centred on the origin.
void PaintGlyph(QPainter& p, int n, QColor ink) {
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  const auto triangle = [&p](double tipX, double dir) {
    QPainterPath t;
    t.moveTo(tipX, 0);
    t.lineTo(tipX - dir * 5.0, -3.8);
    t.lineTo(tipX - dir * 5.0, 3.8);
    t.closeSubpath();
    p.drawPath(t);
  };
  switch (n) {
    case 1:  // one move back: |<
      p.drawRect(QRectF(-4.0, -3.8, 1.6, 7.6));
      triangle(-2.0, -1);
      break;
    case 2:  // one move forward: >|
      triangle(2.0, 1);
      p.drawRect(QRectF(2.4, -3.8, 1.6, 7.6));
      break;
    case 3:  // run back: <<
      triangle(-5.0, -1);
      triangle(0.0, -1);
      break;
    case 4:  // run forward: >>
      triangle(5.0, 1);
      triangle(0.0, 1);
      break;
    case 5:  // play on from here: the recording dot
      p.setBrush(ink == Qt::white ? QColor(0xF0, 0x3A, 0x30) : QColor(0xFF, 0x7A, 0x60));
      p.drawEllipse(QPointF(0, 0), 3.8, 3.8);
      break;
    default:
      break;
  }
}

void PaintKey(QPainter& p, int n, bool pressed) {
  const art::Cell a = art::kRecorderControlArea[n];
  const QRectF key(a.x + 1.5, a.y + 0.5, a.w - 3, a.h - 1);
  QLinearGradient face(0, key.top(), 0, key.bottom());
  face.setColorAt(0, pressed ? QColor(0x1E, 0x22, 0x26) : QColor(0x6E, 0x76, 0x7F));
  face.setColorAt(1, pressed ? QColor(0x34, 0x3A, 0x40) : QColor(0x2C, 0x31, 0x36));
  p.setPen(QPen(QColor(0x06, 0x07, 0x08), 1.0));
  p.setBrush(face);
  p.drawRoundedRect(key, 3, 3);
  if (!pressed) {
    p.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
    p.drawLine(QPointF(key.left() + 3, key.top() + 1), QPointF(key.right() - 3, key.top() + 1));
  }
  p.save();
  p.translate(key.center() + (pressed ? QPointF(0.5, 1.0) : QPointF(0, 0)));
  PaintGlyph(p, n, pressed ? QColor(0xFF, 0xC0, 0x40) : QColor(Qt::white));
  p.restore();
}

QImage PaintPanel(bool on, int pressed) {
  const art::Cell c = art::kRecorderPanelOff;
  QImage panel = NewStrip(c.w, c.h);
  QPainter p;
  BeginPainter(p, panel);
  p.setRenderHint(QPainter::Antialiasing, false);
  PaintBody(p, c.w, c.h);
  p.setRenderHint(QPainter::Antialiasing, true);
  PaintSwitch(p, on);
  for (int n = 1; n <= 5; ++n) PaintKey(p, n, n == pressed);
  p.end();
  return panel;
}

void Copy(QImage& strip, const QImage& from, art::Cell source, art::Cell to) {
  CopyPixels(strip, from, source, to);
}

}  // namespace

void MakeRecorder(const QString& outDir) {
  QDir().mkpath(outDir + "/strips");
  QImage strip = NewStrip(art::kGrabadoraSize.w, art::kGrabadoraSize.h);
  const QImage off = PaintPanel(false, 0);
  const QImage on = PaintPanel(true, 0);
  const art::Cell whole{0, 0, art::kRecorderPanelOff.w, art::kRecorderPanelOff.h};
  Copy(strip, off, whole, art::kRecorderPanelOff);
  Copy(strip, on, whole, art::kRecorderPanelOn);
  Copy(strip, off, art::kRecorderSwitchArea, art::kRecorderSwitchOff);
  Copy(strip, on, art::kRecorderSwitchArea, art::kRecorderSwitchOn);
  for (int n = 1; n <= 5; ++n) {
    Copy(strip, PaintPanel(true, n), art::kRecorderControlArea[n], art::kRecorderControlPressed[n]);
  }
  SavePng(strip, outDir + "/strips/grabadora.png");
}

}  // namespace artgen
