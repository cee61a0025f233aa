#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "carpetas.h"
#include "errores.h"
#include "formatos.h"
#include "numtext.h"
#include "uComandosVentana.h"
#include "uDezodudurAraRIVO.h"
#include "uFormatosQt.h"
#include "uPaintBox.h"
#include "ucalibrador.h"
#include "ugeneradorseries.h"
#include "uparquedemo.h"
#include "uparques_modeloteorico.h"

namespace {

// Stands in for the commands: records which one ran, answers the maps with fixed read-outs, and
// can fail after writing an edit, as a command that stops half way does.
class TComandosDePrueba : public TComandosVentana {
 public:
  using TComandosVentana::TComandosVentana;

  std::vector<std::string> llamadas;
  std::optional<TLecturaRaton> lectura;
  std::optional<TSeleccionMolino> seleccion;
  bool fallar = false;

  void Registrar(const char* nombre) {
    llamadas.emplace_back(nombre);
    if (fallar) {
      v_.eVAnemoResultante->setText(QStringLiteral("7.5"));
      throw ExcepcionConversion("Error: no se puede evaluar \"9,x\"");
    }
  }
  void btBajarParqueClick() override { Registrar("btBajarParqueClick"); }
  void btCalcularClick() override { Registrar("btCalcularClick"); }
  void CalcularvientoClick() override { Registrar("CalcularvientoClick"); }
  void btCambiar_roClick() override { Registrar("btCambiar_roClick"); }
  void btUpdateMTinDBClick() override { Registrar("btUpdateMTinDBClick"); }
  void btCargarCalibradorClick() override { Registrar("btCargarCalibradorClick"); }
  void btGuardarCalibradorClick() override { Registrar("btGuardarCalibradorClick"); }
  void btCalibrarParqueClick() override { Registrar("btCalibrarParqueClick"); }
  void btLoadFromArchi_ModeloMTySeriesClick() override {
    Registrar("btLoadFromArchi_ModeloMTySeriesClick");
  }
  void CalibrarSimpleEthaMeteoClick() override { Registrar("CalibrarSimpleEthaMeteoClick"); }
  void btCalcularMCClick() override { Registrar("btCalcularMCClick"); }
  void btCargarMCClick() override { Registrar("btCargarMCClick"); }
  void Button1Click() override { Registrar("Button1Click"); }
  void btProcesarSeriesConMCClick() override { Registrar("btProcesarSeriesConMCClick"); }
  void btProcesarRestriccionesClick() override { Registrar("btProcesarRestriccionesClick"); }
  void CrearSupercentralClick() override { Registrar("CrearSupercentralClick"); }
  void BorrarSupercentralClick() override { Registrar("BorrarSupercentralClick"); }
  void FormClose() override { llamadas.emplace_back("FormClose"); }
  std::optional<TLecturaRaton> LecturaRaton(int /*x*/, int /*y*/) override { return lectura; }
  std::optional<TSeleccionMolino> SeleccionarMolino(int /*x*/, int /*y*/) override {
    return seleccion;
  }
};

TFormatos FormatosConDecimal(char decimal) {
  TFormatos f;
  f.separador_decimal = decimal;
  f.separador_miles = decimal == ',' ? '.' : ',';
  return f;
}

template <typename T>
T* Control(QWidget& w, const char* nombre) {
  T* c = w.findChild<T*>(QString::fromLatin1(nombre));
  if (c == nullptr) qFatal("no control %s", nombre);
  return c;
}

QString Texto(QWidget& w, const char* nombre) { return Control<QLineEdit>(w, nombre)->text(); }

using TAlTerminar = TFormDezodudurAraRIVO::TAlTerminar;

// Points the working and diagnostics folders at a fresh temporary folder for one test.
class TCarpetasDePrueba {
 public:
  TCarpetasDePrueba() : raiz_(CarpetaRaiz()), basura_(CarpetaBasura()) {
    FijarCarpetaRaiz(Ruta("raiz"));
    FijarCarpetaBasura(Ruta("basura"));
    IniciarCarpetaRaiz();
  }
  ~TCarpetasDePrueba() {
    FijarCarpetaRaiz(raiz_);
    FijarCarpetaBasura(basura_);
  }
  TCarpetasDePrueba(const TCarpetasDePrueba&) = delete;
  TCarpetasDePrueba& operator=(const TCarpetasDePrueba&) = delete;
  [[nodiscard]] std::string Ruta(const char* nombre) const {
    return TextoStd(dir_.filePath(QString::fromLatin1(nombre)));
  }

 private:
  std::string raiz_, basura_;
  QTemporaryDir dir_;
};

// A calibrator of the demo farm with distinctive parameters, built from ten days of series
// generated from the farm itself, saved as the central's ".clp" file.
std::string CalibradorDelDemo(const TCarpetasDePrueba& carpetas) {
  std::shared_ptr<TParque_ModeloTeorico> m = CrearParqueDemo();
  // A coarse grid keeps the power table quick.
  m->grilla_rotada_dx = 20;
  m->grilla_rotada_dy = 10;
  m->alfa_terreno = 0.25;
  m->gamma_atmosfera = 0.125;
  m->fpv3pe = 1.7;
  m->factor_perdidas = 0.04;
  m->potencia_autorizada_mw = 14.5;
  const std::string sas = carpetas.Ruta("demo.sas");
  TOpcionesGenerador o;
  o.n_muestras = 144 * 10;
  GenerarSeries(TTablaPotencia(*m, 12, 1.0), *m, o, sas);
  std::ostringstream progreso;
  const std::unique_ptr<TCalibradorParque> c =
      TCalibradorParque::CrearDesdeSeries(m, 5, 95, sas, progreso, false);
  // Where the combined-model command looks for it.
  AsegurarCarpeta(CarpetaCentral(m->nid_central));
  const std::string clp = ArchivoCalibrador(m->nid_central);
  c->GuardarEnArchivo(clp);
  return clp;
}

// A window over the demo farm's calibrator file, its dialogs answered: errors are collected, and
// every file dialog records its filters and picks `elegido` (the calibrator at first).
struct TVentanaDePrueba {
  TVentanaDePrueba() {
    w.dialogos.error = [this](const std::string& m) { mensajes.push_back(m); };
    w.dialogos.archivo = [this](QFileDialog& d) -> std::optional<std::string> {
      filtros = d.nameFilters();
      return elegido;
    };
  }
  // Clicks a button whose command runs in the background and waits for its end.
  bool ClicYEspera(QPushButton* boton) {
    fin.clear();
    boton->click();
    return fin.wait(120000);
  }

  TCarpetasDePrueba carpetas;
  std::string elegido = CalibradorDelDemo(carpetas);
  TFormDezodudurAraRIVO w;
  std::vector<std::string> mensajes;
  QStringList filtros;
  QSignalSpy fin{&w, &TFormDezodudurAraRIVO::TrabajoTerminado};
};

}  // namespace

class TestVentana : public QObject {
  Q_OBJECT

 private slots:
  void InicioMuestraSoloLaPaginaSimplificada_data() {
    QTest::addColumn<char>("decimal");
    QTest::newRow("punto") << '.';
    QTest::newRow("coma") << ',';
  }
  void InicioMuestraSoloLaPaginaSimplificada() {
    QFETCH(char, decimal);
    TFormatosDePrueba formatos(FormatosConDecimal(decimal));
    TFormDezodudurAraRIVO w;
    QCOMPARE(w.windowTitle(), QStringLiteral("FormDezodudurAraRIVO"));
    QTabWidget* pc = Control<QTabWidget>(w, "PageControl1");
    QCOMPARE(pc->currentWidget(), Control<QWidget>(w, "TabSheet5"));
    for (const char* pagina : {"TabSheet2", "TabSheet3", "TabSheet4", "TabSheet5"}) {
      const bool esperado = std::string(pagina) == "TabSheet5";
      QCOMPARE(pc->isTabVisible(pc->indexOf(Control<QWidget>(w, pagina))), esperado);
    }
    // The start-up writes, in the current number format, reach both pages.
    const QString v = QTexto(RealAGeneral(9.9));
    const QString g = QTexto(RealAGeneral(0.4));
    const QString a = QTexto(RealAGeneral(0.5));
    QCOMPARE(v, decimal == ',' ? QStringLiteral("9,9") : QStringLiteral("9.9"));
    QCOMPARE(Texto(w, "eVAnemoEntrada"), v);
    QCOMPARE(Texto(w, "eVAnemoEntrada1"), v);
    QCOMPARE(Texto(w, "eGamma_Atmosfera"), g);
    QCOMPARE(Texto(w, "eGamma_Atmosfera1"), g);
    QCOMPARE(Texto(w, "eAlfaTerreno"), a);
    QCOMPARE(Texto(w, "eAlfaTerreno1"), a);
    // Untouched edits keep their design texts.
    QCOMPARE(Texto(w, "eDir1"), QStringLiteral("270"));
    QCOMPARE(Texto(w, "ePE_MW_ModeloTeorico1"), QStringLiteral("ePE_MW_ModeloTeorico"));
    QCOMPARE(Texto(w, "NIDsupercentralBorrar"), QStringLiteral("202128"));
    QCOMPARE(Control<QDateEdit>(w, "FechaDesde1")->date(), QDate(2015, 10, 28));
    QCOMPARE(Control<QDateEdit>(w, "FechaHasta")->date(), QDate(2016, 1, 15));
    QCOMPARE(Control<TPaintBox>(w, "pb_Parque_simple")->size(), QSize(978, 616));
    QCOMPARE(Control<TPaintBox>(w, "PaintBox1")->size(), QSize(797, 501));
  }

  void DialogosConSusFiltros() {
    TFormDezodudurAraRIVO w;
    QCOMPARE(w.odCalibrador->nameFilters(), QStringList{QStringLiteral("*.clp")});
    QCOMPARE(w.sdCalibrador->defaultSuffix(), QStringLiteral("clp"));
    QCOMPARE(w.odProcesarSeries->nameFilters(), QStringList{QStringLiteral("*.sas")});
  }

  void EdicionEnDir1LlegaADirYVuelta() {
    TFormDezodudurAraRIVO w;
    QLineEdit* eDir = Control<QLineEdit>(w, "eDir");
    QLineEdit* eDir1 = Control<QLineEdit>(w, "eDir1");
    QSignalSpy cambiosDir(eDir, &QLineEdit::textChanged);
    QSignalSpy cambiosDir1(eDir1, &QLineEdit::textChanged);
    eDir1->selectAll();
    QTest::keyClicks(eDir1, QStringLiteral("90"));
    QCOMPARE(eDir->text(), QStringLiteral("90"));
    // One change per keystroke on each side: the copy back stops at the equal text.
    QCOMPARE(cambiosDir.count(), 2);
    QCOMPARE(cambiosDir1.count(), 2);

    eDir->setText(QStringLiteral("22.5"));
    QCOMPARE(eDir1->text(), QStringLiteral("22.5"));
    QCOMPARE(cambiosDir1.count(), 3);
    QCOMPARE(cambiosDir.count(), 3);
  }

  void EspejosDeSalidaSonDeUnSentido() {
    TFormDezodudurAraRIVO w;
    w.eVAnemoResultante->setText(QStringLiteral("8.25"));
    QCOMPARE(w.eVAnemoResultante1->text(), QStringLiteral("8.25"));
    w.eVAnemoResultante1->setText(QStringLiteral("1"));
    QCOMPARE(w.eVAnemoResultante->text(), QStringLiteral("8.25"));
    w.eEthaMeteo2->setText(QStringLiteral("1.1"));
    QCOMPARE(w.eEthaMeteo->text(), QStringLiteral("1.1"));
    w.FechaDesde1->setDate(QDate(2015, 11, 2));
    QCOMPARE(w.FechaDesde->date(), QDate(2015, 11, 2));
    w.FechaHasta->setDate(QDate(2016, 2, 1));
    QCOMPARE(w.FechaHasta1->date(), QDate(2016, 1, 15));
  }

  void TextosPorNombreDeControl() {
    TFormDezodudurAraRIVO w;
    w.FijarTexto("Caption", "Calibrador cargado, Parque: Ruiz A");
    QCOMPARE(w.windowTitle(), QStringLiteral("Calibrador cargado, Parque: Ruiz A"));
    QCOMPARE(w.Texto("Caption"), std::string("Calibrador cargado, Parque: Ruiz A"));
    // Written like typing: the twin follows.
    w.FijarTexto("eGamma_Atmosfera", "0.12");
    QCOMPARE(w.eGamma_Atmosfera1->text(), QStringLiteral("0.12"));
    QCOMPARE(w.Texto("eDir"), std::string("270"));
    w.cbCambiarTodosLosRo->setChecked(true);
    QCOMPARE(w.Texto("cbCambiarTodosLosRo"), std::string("1"));
    try {
      w.FijarTexto("eNoExiste", "1");
      QFAIL("sin error");
    } catch (const Excepcion& e) {
      QCOMPARE(std::string(e.what()), std::string("Control desconocido: eNoExiste"));
    }
  }

  void ElegirArchivoConLosFiltrosDados() {
    TFormDezodudurAraRIVO w;
    QStringList vistos;
    w.dialogos.archivo = [&](QFileDialog& d) -> std::optional<std::string> {
      vistos = d.nameFilters();
      return std::nullopt;
    };
    QCOMPARE(w.ElegirArchivo(w.odCalibrador, kFiltroModeloCombinado), std::nullopt);
    QCOMPARE(vistos, (QStringList{QStringLiteral("*.pmc"), QStringLiteral("*.clp")}));
    QCOMPARE(w.odCalibrador->selectedNameFilter(), QStringLiteral("*.pmc"));
  }

  void MenuVerMuestraLasPaginasOcultas() {
    TFormDezodudurAraRIVO w;
    w.eEthaMeteo->setText(QStringLiteral("0.97"));
    w.verTabSheet4->trigger();
    QVERIFY(w.PageControl1->isTabVisible(w.PageControl1->indexOf(w.TabSheet4)));
    QCOMPARE(w.PageControl1->currentWidget(), w.TabSheet4);
    // Showing the curves page brings the station etha along.
    QCOMPARE(w.eEthaMeteo1->text(), QStringLiteral("0.97"));
    w.verTabSheet4->trigger();
    QVERIFY(!w.PageControl1->isTabVisible(w.PageControl1->indexOf(w.TabSheet4)));
  }

  void CadaBotonLlamaASuOrden_data() {
    QTest::addColumn<QString>("boton");
    QTest::addColumn<QString>("orden");
    const char* filas[][2] = {
        {"btBajarParque", "btBajarParqueClick"},
        {"btCalcular", "btCalcularClick"},
        {"btCalcular1", "btCalcularClick"},
        {"Calcularviento", "CalcularvientoClick"},
        {"btCambiar_ro", "btCambiar_roClick"},
        {"btUpdateMTinDB", "btUpdateMTinDBClick"},
        {"btCargarCalibrador", "btCargarCalibradorClick"},
        {"btGuardarCalibrador", "btGuardarCalibradorClick"},
        {"btCalibrarParque", "btCalibrarParqueClick"},
        {"btLoadFromArchi_ModeloMTySeries", "btLoadFromArchi_ModeloMTySeriesClick"},
        {"CalibrarSimpleEthaMeteo", "CalibrarSimpleEthaMeteoClick"},
        {"btCalcularMC", "btCalcularMCClick"},
        {"btCargarMC", "btCargarMCClick"},
        {"btCargarMC1", "btCargarMCClick"},
        {"Button1", "Button1Click"},
        {"btProcesarSeriesConMC", "btProcesarSeriesConMCClick"},
        {"btProcesarSeriesConMC1", "btProcesarSeriesConMCClick"},
        {"btProcesarRestricciones", "btProcesarRestriccionesClick"},
        {"btProcesarRestricciones1", "btProcesarRestriccionesClick"},
        {"CrearSupercentral", "CrearSupercentralClick"},
        {"BorrarSupercentral", "BorrarSupercentralClick"},
        {"btProcesarSeries", ""},
        {"btLevantarCurvaAeroADB", ""},
        {"CalcularReduccion", ""},
    };
    for (const auto& f : filas) {
      QTest::newRow(f[0]) << QString::fromLatin1(f[0]) << QString::fromLatin1(f[1]);
    }
  }
  void CadaBotonLlamaASuOrden() {
    QFETCH(QString, boton);
    QFETCH(QString, orden);
    TFormDezodudurAraRIVO w;
    auto comandos = std::make_unique<TComandosDePrueba>(w);
    TComandosDePrueba& c = *comandos;
    w.FijarComandos(std::move(comandos));
    w.findChild<QPushButton*>(boton)->click();
    const std::vector<std::string> esperado = orden.isEmpty()
                                                  ? std::vector<std::string>{}
                                                  : std::vector<std::string>{orden.toStdString()};
    QCOMPARE(c.llamadas, esperado);
  }

  void CerrarLiberaElEstado() {
    TFormDezodudurAraRIVO w;
    w.show();
    auto comandos = std::make_unique<TComandosDePrueba>(w);
    TComandosDePrueba& c = *comandos;
    w.FijarComandos(std::move(comandos));
    w.close();
    QCOMPARE(c.llamadas, std::vector<std::string>{"FormClose"});
  }

  void OrdenQueFallaMuestraSuMensajeYSigueUsable() {
    TFormDezodudurAraRIVO w;
    std::vector<std::string> mensajes;
    w.dialogos.error = [&](const std::string& m) { mensajes.push_back(m); };
    // The calibrator dialog that a simulation without a model opens is cancelled.
    w.dialogos.archivo = [](QFileDialog&) { return std::optional<std::string>(); };

    // Without the current objects the commands refuse.
    w.Button1->click();
    w.btCalcular1->click();
    QCOMPARE(mensajes, (std::vector<std::string>{"No hay un calibrador cargado.",
                                                 "No hay un modelo teórico cargado."}));

    auto comandos = std::make_unique<TComandosDePrueba>(w);
    comandos->fallar = true;
    w.FijarComandos(std::move(comandos));
    mensajes.clear();
    w.btCalcular1->click();
    QCOMPARE(mensajes, std::vector<std::string>{"Error: no se puede evaluar \"9,x\""});
    // What the command wrote before failing stays, mirrors included.
    QCOMPARE(w.eVAnemoResultante1->text(), QStringLiteral("7.5"));
    // The window still works.
    w.eDir1->setText(QStringLiteral("180"));
    QCOMPARE(w.eDir->text(), QStringLiteral("180"));
  }

  void TrabajoLargoDejaLaVentanaVivaYAplicaAlFinal() {
    TFormDezodudurAraRIVO w;
    auto comandos = std::make_unique<TComandosDePrueba>(w);
    TComandosDePrueba& c = *comandos;
    w.FijarComandos(std::move(comandos));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    std::atomic<bool> soltar{false};
    std::thread::id hilo_del_trabajo;
    bool aplicado_en_la_ventana = false;
    QVERIFY(w.EnSegundoPlano("Calibrando el parque", [&]() -> TAlTerminar {
      hilo_del_trabajo = std::this_thread::get_id();
      w.Comandos().Salida() << "reducciones: 3\n" << std::flush;
      while (!soltar) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return [&] { aplicado_en_la_ventana = QThread::currentThread() == w.thread(); };
    }));
    QVERIFY(w.Ocupado());
    QVERIFY(!w.centralWidget()->isEnabled());
    QVERIFY(!w.menuBar()->isEnabled());
    QVERIFY(w.pbProgreso->isVisible());
    // The window's loop runs meanwhile and shows the work's progress lines.
    QTRY_COMPARE(w.lProgreso->text(), QStringLiteral("Calibrando el parque — reducciones: 3"));
    // Nothing else starts until it ends: no second piece of work, no command, no closing.
    QVERIFY(!w.EnSegundoPlano("otro", [] { return TAlTerminar{}; }));
    w.btCalcularClick();
    QCOMPARE(c.llamadas, std::vector<std::string>{});
    QVERIFY(!w.close());

    soltar = true;
    QTRY_VERIFY(!w.Ocupado());
    QVERIFY(hilo_del_trabajo != std::this_thread::get_id());
    QVERIFY(aplicado_en_la_ventana);
    QVERIFY(w.centralWidget()->isEnabled());
    QVERIFY(!w.pbProgreso->isVisible());
    w.btCalcularClick();
    QCOMPARE(c.llamadas, std::vector<std::string>{"btCalcularClick"});
  }

  void TrabajoQueFallaMuestraSuMensaje() {
    const TCarpetasDePrueba carpetas;
    TFormDezodudurAraRIVO w;
    std::vector<std::string> mensajes;
    w.dialogos.error = [&](const std::string& m) { mensajes.push_back(m); };
    QSignalSpy fin(&w, &TFormDezodudurAraRIVO::TrabajoTerminado);
    QVERIFY(w.EnSegundoPlano("Cargando", []() -> TAlTerminar {
      throw ExcepcionES("No se puede abrir el archivo: x.clp");
    }));
    QVERIFY(fin.wait(10000));
    QCOMPARE(mensajes, std::vector<std::string>{"No se puede abrir el archivo: x.clp"});
    QVERIFY(w.centralWidget()->isEnabled());
    QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Cargando: falló"));

    // A real command that fails on its worker: "Calibrar" without a model looks for the fixed
    // calibrator in the diagnostics folder, which is not there.
    mensajes.clear();
    w.btCalibrarParque->click();
    QVERIFY(fin.wait(10000));
    QCOMPARE(mensajes.size(), std::size_t{1});
    QVERIFY2(mensajes[0].find("calibrador_RURIZ A.clp") != std::string::npos, mensajes[0].c_str());
    QVERIFY(!w.Ocupado());
  }

  void CerrarConTrabajoEnCursoLoEspera() {
    std::atomic<bool> termino{false};
    {
      TFormDezodudurAraRIVO w;
      QVERIFY(w.EnSegundoPlano("Calculando", [&]() -> TAlTerminar {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        (void)w.Comandos().Estado().ModeloTeorico();
        termino = true;
        return {};
      }));
    }
    QVERIFY(termino);
  }

  void CargarCalibradorLlenaAmbasPaginasYElTitulo() {
    TVentanaDePrueba v;
    QVERIFY(v.ClicYEspera(v.w.btCargarCalibrador));
    TFormDezodudurAraRIVO& w = v.w;
    const std::vector<std::string>& mensajes = v.mensajes;
    QCOMPARE(mensajes, std::vector<std::string>{});
    QCOMPARE(v.filtros, QStringList{QStringLiteral("*.clp")});
    const TParque_ModeloTeorico& m = *w.Comandos().Estado().ModeloTeorico();
    QCOMPARE(w.windowTitle(), QStringLiteral("Calibrador cargado, Parque: ") + QTexto(m.nombre));
    const std::pair<const char*, NReal> parametros[] = {
        {"eGamma_Atmosfera", m.gamma_atmosfera},
        {"eAlfaTerreno", m.alfa_terreno},
        {"efpv3pe", m.fpv3pe},
        {"eFactorPerdidasParque", m.factor_perdidas},
        {"eLimiteDePotencia", m.potencia_autorizada_mw}};
    for (const auto& [nombre, valor] : parametros) {
      QCOMPARE(Texto(w, nombre), QTexto(RealAGeneral(valor)));
      QCOMPARE(Texto(w, (std::string(nombre) + "1").c_str()), QTexto(RealAGeneral(valor)));
    }
    QCOMPARE(w.eGamma_Atmosfera1->text(), QTexto(RealAGeneral(0.125)));
    QCOMPARE(w.eLimiteDePotencia1->text(), QTexto(RealAGeneral(14.5)));
    QVERIFY(w.eEthaMeteo->text().startsWith(QStringLiteral("[ ")));
    QCOMPARE(w.eEthaMeteo2->text(), w.eEthaMeteo->text());

    // The calibrator's model simulates from the simplified page and paints both maps.
    w.btCalcular1->click();
    QCOMPARE(mensajes, std::vector<std::string>{});
    QVERIFY(!w.pb_Parque_simple->Imagen().isNull());
    QCOMPARE(w.pb_Parque_original->Imagen(), w.pb_Parque_simple->Imagen());
  }

  void CurvasDePotenciaConElModeloCombinado() {
    TVentanaDePrueba v;
    QVERIFY(v.ClicYEspera(v.w.btCargarCalibrador));
    TFormDezodudurAraRIVO& w = v.w;
    const std::vector<std::string>& mensajes = v.mensajes;
    const std::int32_t central = w.Comandos().Estado().ModeloTeorico()->nid_central;

    // "Calcular MC" builds the correction from the central's calibrator file and saves it.
    w.eNidCentral->setText(QString::number(central));
    QVERIFY(v.ClicYEspera(w.btCalcularMC));
    QCOMPARE(mensajes, std::vector<std::string>{});
    const std::string pmc = ArchivoModeloCombinado(central);
    QVERIFY(QFile::exists(QTexto(pmc)));

    // The three curves of one direction, drawn on the chart page and written as a picture.
    w.eDir->setText(QStringLiteral("22.5"));
    w.Button1->click();
    QCOMPARE(mensajes, std::vector<std::string>{});
    QCOMPARE(w.PaintBox1->Imagen().size(), QSize(797, 501));
    QVERIFY(QFile::exists(QTexto(ArchivoBasura("curvas_MW_PE_MT_2250.jpg"))));

    // "Cargar MC" lists combined models first, and writes the curve comparison when loading.
    v.elegido = pmc;
    QVERIFY(v.ClicYEspera(w.btCargarMC1));
    QCOMPARE(mensajes, std::vector<std::string>{});
    QCOMPARE(v.filtros, (QStringList{QStringLiteral("*.pmc"), QStringLiteral("*.clp")}));
    QVERIFY(QFile::exists(QTexto(ArchivoBasura("compartivacurvas.xlt"))));
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("Calibrador cargado, Parque: ")));
    QCOMPARE(w.Comandos().Estado().Calibrador().get(),
             static_cast<const void*>(w.Comandos().Estado().ModeloCombinado().get()));
  }

  void RatonSobreElMapaMuestraLecturas() {
    TFormDezodudurAraRIVO w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto comandos = std::make_unique<TComandosDePrueba>(w);
    TComandosDePrueba& c = *comandos;
    w.FijarComandos(std::move(comandos));

    // Without a model nothing changes.
    QTest::mouseMove(w.pb_Parque_simple, QPoint(100, 200));
    QCOMPARE(w.eCoordenadasXY->text(), QStringLiteral("eCoordenadasXY"));

    c.lectura = TLecturaRaton{"x: -250, y: 125.5", std::string("v: 8.3, P:1.2")};
    QTest::mouseMove(w.pb_Parque_simple, QPoint(120, 200));
    QCOMPARE(w.eCoordenadasXY->text(), QStringLiteral("x: -250, y: 125.5"));
    QCOMPARE(w.eMolino->text(), QStringLiteral("v: 8.3, P:1.2"));

    // Far from every turbine the turbine read-out keeps its text.
    c.lectura = TLecturaRaton{"x: 900, y: 0", std::nullopt};
    QTest::mouseMove(w.pb_Parque_simple, QPoint(300, 300));
    QCOMPARE(w.eCoordenadasXY->text(), QStringLiteral("x: 900, y: 0"));
    QCOMPARE(w.eMolino->text(), QStringLiteral("v: 8.3, P:1.2"));
  }

  void RatonAbajoSeleccionaYCopiaDelMapaPulsado() {
    TFormDezodudurAraRIVO w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto comandos = std::make_unique<TComandosDePrueba>(w);
    TComandosDePrueba& c = *comandos;
    w.FijarComandos(std::move(comandos));
    w.pb_Parque_original->Rellenar(Qt::blue);
    w.pb_Parque_simple->Rellenar(Qt::red);
    QApplication::clipboard()->clear();

    c.seleccion = TSeleccionMolino{"0.95", 100, 50, 259, 149};
    QTest::mouseClick(w.pb_Parque_simple, Qt::LeftButton, {}, QPoint(110, 100));
    QCOMPARE(w.eEthaMolino->text(), QStringLiteral("0.95"));
    const QImage copia = QApplication::clipboard()->image();
    QCOMPARE(copia.size(), QSize(160, 100));
    // The simplified page's map was clicked, and the other map sits on a hidden page.
    QCOMPARE(copia.pixelColor(5, 5), QColor(Qt::red));

    // A region of no width puts nothing on the clipboard.
    QApplication::clipboard()->clear();
    c.seleccion = TSeleccionMolino{"1", 100, 50, 99, 149};
    QTest::mouseClick(w.pb_Parque_simple, Qt::RightButton, {}, QPoint(110, 100));
    QCOMPARE(w.eEthaMolino->text(), QStringLiteral("1"));
    QVERIFY(QApplication::clipboard()->image().isNull());
  }

  void SimularPintaAmbosMapasYLlenaLasSalidas() {
    TFormDezodudurAraRIVO w;
    std::vector<std::string> mensajes;
    w.dialogos.error = [&](const std::string& m) { mensajes.push_back(m); };
    w.Comandos().CargarDemo();
    QCOMPARE(w.eLimiteDePotencia1->text(), QStringLiteral("15"));
    w.btCalcular1->click();
    QCOMPARE(mensajes, std::vector<std::string>{});
    for (QLineEdit* e : {w.VientoLibre, w.ePE_MW_ModeloTeorico1, w.eVAnemoResultante1}) {
      bool ok = false;
      e->text().toDouble(&ok);
      QVERIFY2(ok, qPrintable(e->objectName() + QStringLiteral(": ") + e->text()));
    }
    for (TPaintBox* pb : {w.pb_Parque_original, w.pb_Parque_simple}) {
      QCOMPARE(pb->Imagen().size(), QSize(978, 616));
      // The colour bar starts blue, and the field below it is coloured.
      const QColor barra = pb->Imagen().pixelColor(30, 5);
      QCOMPARE(barra.red(), 0);
      QCOMPARE(barra.blue(), 255);
      int coloreados = 0;
      for (int y = 30; y < 616; y += 4) {
        for (int x = 0; x < 978; x += 4)
          coloreados += pb->Imagen().pixel(x, y) != qRgb(255, 255, 255);
      }
      QVERIFY(coloreados > 1000);
    }
    QCOMPARE(w.pb_Parque_original->Imagen(), w.pb_Parque_simple->Imagen());
  }

  void RatonSobreUnMolinoDelParqueDemo() {
    TFormDezodudurAraRIVO w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.Comandos().CargarDemo();
    w.btCalcular1->click();
    const TParque_ModeloTeorico& m = *w.Comandos().Estado().ModeloTeorico();
    const TMolino& molino = *m.molinos.front();
    std::int32_t px = 0;
    std::int32_t py = 0;
    m.MundoAPixel(molino.posicion.dx, molino.posicion.dy, px, py);

    QTest::mouseMove(w.pb_Parque_simple, QPoint(px, py));
    QVERIFY2(w.eMolino->text().startsWith(QStringLiteral("v: ")), qPrintable(w.eMolino->text()));
    QVERIFY(w.eCoordenadasXY->text().startsWith(QStringLiteral("x: ")));

    QApplication::clipboard()->clear();
    QTest::mouseClick(w.pb_Parque_simple, Qt::LeftButton, {}, QPoint(px, py));
    QCOMPARE(w.eEthaMolino->text(), QStringLiteral("1"));
    const NReal D = molino.curva->diametro;
    std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    m.MundoAPixel(molino.posicion.dx - D, molino.posicion.dy + 6 * D, x1, y1);
    m.MundoAPixel(molino.posicion.dx + 15 * D, molino.posicion.dy - 6 * D, x2, y2);
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(x2 - x1 + 1, y2 - y1 + 1));
  }

  void FormatosDelEscritorio_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<char>("decimal");
    QTest::addColumn<char>("miles");
    QTest::addColumn<QString>("fecha");
    QTest::addColumn<char>("sepFecha");
    QTest::addColumn<QString>("hora");
    QTest::newRow("es_ES") << "es_ES" << ',' << '.' << "d/m/yy" << '/' << "h:nn:ss";
    QTest::newRow("en_US") << "en_US" << '.' << ',' << "m/d/yy" << '/' << "h:nn:ss";
    QTest::newRow("de_DE") << "de_DE" << ',' << '.' << "dd.mm.yy" << '.' << "hh:nn:ss";
  }
  void FormatosDelEscritorio() {
    QFETCH(QString, locale);
    QFETCH(char, decimal);
    QFETCH(char, miles);
    QFETCH(QString, fecha);
    QFETCH(char, sepFecha);
    QFETCH(QString, hora);
    const TFormatos f = FormatosDeQLocale(QLocale(locale));
    QCOMPARE(f.separador_decimal, decimal);
    QCOMPARE(f.separador_miles, miles);
    QCOMPARE(QString::fromStdString(f.formato_fecha_corta), fecha);
    QCOMPARE(f.separador_fecha, sepFecha);
    QCOMPARE(QString::fromStdString(f.formato_hora_larga), hora);
    QCOMPARE(f.separador_hora, ':');
  }

  void PatronDeLasFechas_data() {
    QTest::addColumn<QString>("corta");
    QTest::addColumn<char>("separador");
    QTest::addColumn<QString>("qt");
    QTest::newRow("diseno") << "dd/mm/yyyy" << '/' << "dd/MM/yyyy";
    QTest::newRow("dos cifras") << "d/m/yy" << '/' << "d/M/yyyy";
    QTest::newRow("separador") << "dd/mm/yyyy" << '-' << "dd-MM-yyyy";
    QTest::newRow("puntos") << "dd.mm.yy" << '.' << "dd.MM.yyyy";
  }
  void PatronDeLasFechas() {
    QFETCH(QString, corta);
    QFETCH(char, separador);
    QFETCH(QString, qt);
    TFormatos f;
    f.formato_fecha_corta = corta.toStdString();
    f.separador_fecha = separador;
    QCOMPARE(PatronFechaQt(f), qt);
  }

  void TextosLatin1SobrevivenComoTexto() {
    QCOMPARE(QTexto("Energ\xC3\xAD"
                    "a"),
             QStringLiteral("Energía"));
    QCOMPARE(QTexto("Energ\xED"
                    "a"),
             QStringLiteral("Energía"));
  }
};

QTEST_MAIN(TestVentana)
#include "test_ventana.moc"
