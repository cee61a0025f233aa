#include "uPaintBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "lienzo.h"

TPaintBox::TPaintBox(const QString& nombre, int ancho, int alto, QWidget* padre) : QWidget(padre) {
  setObjectName(nombre);
  setFixedSize(ancho, alto);
  // Moves without a pressed button feed the read-outs.
  setMouseTracking(true);
}

void TPaintBox::MostrarImagen(const QImage& imagen) {
  imagen_ = imagen;
  update();
}

void TPaintBox::Rellenar(const QColor& color) {
  QImage img(size(), QImage::Format_RGB32);
  img.fill(color);
  MostrarImagen(img);
}

void TPaintBox::paintEvent(QPaintEvent* /*evento*/) {
  QPainter p(this);
  if (imagen_.isNull()) {
    // An empty box still shows where the drawing goes.
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    return;
  }
  p.drawImage(0, 0, imagen_);
}

void TPaintBox::mouseMoveEvent(QMouseEvent* evento) {
  const QPoint q = evento->position().toPoint();
  emit MouseMove(q.x(), q.y());
}

void TPaintBox::mousePressEvent(QMouseEvent* evento) {
  const QPoint q = evento->position().toPoint();
  emit MouseDown(q.x(), q.y());
}

QImage ImagenDeLienzo(const TLienzo& lienzo) {
  // The canvas's pixels are native-endian opaque 0xAARRGGBB words, which is QImage's RGB32.
  const QImage vista(lienzo.Datos(), lienzo.Ancho(), lienzo.Alto(), lienzo.Paso(),
                     QImage::Format_RGB32);
  return vista.copy();
}
