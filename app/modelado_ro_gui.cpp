// The desktop program: the user's formats, the working folders and the gateway, then the window.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "carpetas.h"
#include "formatos.h"
#include "uComandosVentana.h"
#include "uDezodudurAraRIVO.h"
#include "uFormatosQt.h"
#include "urosx.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Qt switched the C library to the user's locale; every number text goes through our own
  // settings, so the C library stays neutral.
  std::setlocale(LC_NUMERIC, "C");
  // Progress lines appear while a command holds the window.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  QApplication::setApplicationName(QStringLiteral("modelado_ro"));

  QCommandLineParser opciones;
  opciones.setApplicationDescription(
      QStringLiteral("Modelado de parques eólicos: ventana principal."));
  opciones.addHelpOption();
  const QCommandLineOption raiz(
      QStringLiteral("raiz"),
      QStringLiteral("Carpeta raíz de trabajo (por omisión VELTRA_MODELADO_RO)."),
      QStringLiteral("carpeta"));
  const QCommandLineOption basura(
      QStringLiteral("basura"),
      QStringLiteral("Carpeta de copias de diagnóstico (por omisión VELTRA_BASURA)."),
      QStringLiteral("carpeta"));
  const QCommandLineOption pasarela(
      QStringLiteral("pasarela"),
      QStringLiteral("Pasarela SQL, host o host:puerto (por omisión VELTRA_PASARELA)."),
      QStringLiteral("host[:puerto]"));
  const QCommandLineOption captura(
      QStringLiteral("captura"),
      QStringLiteral("Guarda una imagen PNG de la ventana al abrirse y termina."),
      QStringLiteral("archivo"));
  const QCommandLineOption demo(
      QStringLiteral("demo"),
      QStringLiteral("Abre con el parque de demostración incorporado como modelo actual."));
  const QCommandLineOption simular(
      QStringLiteral("simular"),
      QStringLiteral("Simula el modelo actual una vez, con las entradas iniciales, al abrirse."));
  opciones.addOption(raiz);
  opciones.addOption(basura);
  opciones.addOption(pasarela);
  opciones.addOption(captura);
  opciones.addOption(demo);
  opciones.addOption(simular);
  opciones.process(app);

  try {
    FijarFormatosInicio(FormatosDelEscritorio());
    if (opciones.isSet(raiz)) FijarCarpetaRaiz(TextoStd(opciones.value(raiz)));
    if (opciones.isSet(basura)) FijarCarpetaBasura(TextoStd(opciones.value(basura)));
    if (opciones.isSet(pasarela)) {
      const std::string destino = TextoStd(opciones.value(pasarela));
      LeerDestinoPasarela(destino);  // a bad value stops here, with its message
      setenv("VELTRA_PASARELA", destino.c_str(), 1);
    }
    IniciarCarpetaRaiz();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }

  int estado = 0;
  try {
    TFormDezodudurAraRIVO ventana;
    if (opciones.isSet(demo)) ventana.Comandos().CargarDemo();
    ventana.show();
    if (opciones.isSet(simular)) {
      QTimer::singleShot(0, &ventana, [&ventana] { ventana.btCalcularClick(); });
    }
    if (opciones.isSet(captura)) {
      // Once the window is on screen and laid out, its picture is saved and the program ends.
      const QString archivo = opciones.value(captura);
      QTimer::singleShot(500, &ventana, [&ventana, archivo] {
        if (!ventana.grab().save(archivo)) {
          std::fprintf(stderr, "No se pudo guardar la captura: %s\n",
                       archivo.toLocal8Bit().constData());
          QApplication::exit(1);
          return;
        }
        QApplication::quit();
      });
    }
    estado = QApplication::exec();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return estado;
}
