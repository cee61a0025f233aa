#pragma once

#include <QImage>
#include <QWidget>

class TLienzo;

// A drawing surface of fixed size: it shows the last picture it was given and reports the mouse
// in its own pixels. The picture is kept, so a copy of a region reads what the user sees.
class TPaintBox : public QWidget {
  Q_OBJECT

 public:
  TPaintBox(const QString& nombre, int ancho, int alto, QWidget* padre = nullptr);

  // The picture drawn from now on; a null image leaves the box empty.
  void MostrarImagen(const QImage& imagen);
  void Rellenar(const QColor& color);
  [[nodiscard]] const QImage& Imagen() const { return imagen_; }

 signals:
  void MouseMove(int x, int y);
  void MouseDown(int x, int y);

 protected:
  void paintEvent(QPaintEvent* evento) override;
  void mouseMoveEvent(QMouseEvent* evento) override;
  void mousePressEvent(QMouseEvent* evento) override;

 private:
  QImage imagen_;
};

// A copy of a canvas's pixels as an image the window can show and put on the clipboard.
QImage ImagenDeLienzo(const TLienzo& lienzo);
