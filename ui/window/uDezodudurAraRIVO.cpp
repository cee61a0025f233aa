#include "uDezodudurAraRIVO.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <exception>

#include "errores.h"
#include "numtext.h"
#include "uComandosVentana.h"
#include "uFormatosQt.h"
#include "uPaintBox.h"

TDialogosVentana TDialogosVentana::DelEscritorio(QWidget* padre) {
  TDialogosVentana d;
  d.error = [padre](const std::string& texto) {
    QMessageBox::critical(padre, QApplication::applicationName(), QTexto(texto));
  };
  d.mensaje = [padre](const std::string& texto) {
    QMessageBox::information(padre, QApplication::applicationName(), QTexto(texto));
  };
  d.confirmar = [padre](const std::string& titulo, const std::string& texto) {
    return QMessageBox::warning(padre, QTexto(titulo), QTexto(texto),
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
  };
  d.archivo = [](QFileDialog& dialogo) -> std::optional<std::string> {
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) {
      return std::nullopt;
    }
    return TextoStd(dialogo.selectedFiles().constFirst());
  };
  return d;
}

TFormDezodudurAraRIVO::TFormDezodudurAraRIVO(QWidget* padre)
    : QMainWindow(padre), dialogos(TDialogosVentana::DelEscritorio(this)) {
  setObjectName(QStringLiteral("FormDezodudurAraRIVO"));
  setWindowTitle(QStringLiteral("FormDezodudurAraRIVO"));

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  setCentralWidget(PageControl1);
  CrearTabSheet2();
  CrearTabSheet3();
  CrearTabSheet4();
  CrearTabSheet5();
  CrearDialogos();
  CrearMenuVer();
  CrearBarraDeEstado();
  ConectarManejadores();

  // The client area between the menu bar and the status bar.
  resize(1484, 821 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  FormCreate();
}

TFormDezodudurAraRIVO::~TFormDezodudurAraRIVO() {
  // The work still running uses the commands' state: it must end before they go.
  if (trabajo_ != nullptr) {
    trabajo_->wait();
    delete trabajo_;
  }
}

void TFormDezodudurAraRIVO::FormCreate() {
  // 1-2. No current model; the commands hold the gateway connection.
  comandos_ = std::make_unique<TComandosVentana>(*this);
  // 3. The change handlers copy these to the twins on the simplified page.
  eVAnemoEntrada->setText(QTexto(RealAGeneral(9.9)));
  eGamma_Atmosfera->setText(QTexto(RealAGeneral(0.4)));
  eAlfaTerreno->setText(QTexto(RealAGeneral(0.5)));
  // 4. Only the simplified page shows its tab.
  PageControl1->setCurrentWidget(TabSheet5);
  MostrarPagina(TabSheet2, false);
  MostrarPagina(TabSheet3, false);
  MostrarPagina(TabSheet4, false);
}

void TFormDezodudurAraRIVO::FijarComandos(std::unique_ptr<TComandosVentana> comandos) {
  EsperarTrabajo();
  comandos_ = std::move(comandos);
}

void TFormDezodudurAraRIVO::Ejecutar(const std::function<void()>& orden) {
  // Exceptions must not cross Qt's event loop: this is the one place that shows them.
  try {
    orden();
  } catch (const std::exception& e) {
    if (dialogos.error) dialogos.error(e.what());
  } catch (...) {
    if (dialogos.error) dialogos.error("Error desconocido");
  }
}

void TFormDezodudurAraRIVO::Orden(const std::function<void()>& orden) {
  if (Ocupado()) {
    AvisarOcupado();
    return;
  }
  Ejecutar(orden);
}

bool TFormDezodudurAraRIVO::EnSegundoPlano(const std::string& titulo,
                                           std::function<TAlTerminar()> trabajo) {
  if (Ocupado()) return false;
  // Filled by the worker, read on this thread once it has finished.
  auto al_terminar = std::make_shared<TAlTerminar>();
  auto error = std::make_shared<std::exception_ptr>();
  trabajo_ = QThread::create([trabajo = std::move(trabajo), al_terminar, error] {
    try {
      *al_terminar = trabajo();
    } catch (...) {
      *error = std::current_exception();
    }
  });
  // Queued: the thread emits it, this window's thread runs it.
  connect(trabajo_, &QThread::finished, this, [this, al_terminar, error] {
    trabajo_->wait();
    delete trabajo_;
    trabajo_ = nullptr;
    bool terminado = false;
    Ejecutar([&] {
      if (*error) std::rethrow_exception(*error);
      if (*al_terminar) (*al_terminar)();
      terminado = true;
    });
    FijarOcupado(false, titulo_trabajo_);
    statusBar()->showMessage(QTexto(titulo_trabajo_) + (terminado ? QStringLiteral(": terminado")
                                                                  : QStringLiteral(": falló")),
                             5000);
    emit TrabajoTerminado();
  });
  FijarOcupado(true, titulo);
  trabajo_->start();
  return true;
}

void TFormDezodudurAraRIVO::EsperarTrabajo() {
  if (trabajo_ == nullptr) return;
  trabajo_->wait();
  // The thread's end is a call queued to this window; deliver it now.
  while (Ocupado()) {
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    if (Ocupado()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
  }
}

void TFormDezodudurAraRIVO::FijarOcupado(bool ocupado, const std::string& titulo) {
  // Everything the user could start a command from, maps included, waits for the work.
  centralWidget()->setEnabled(!ocupado);
  menuBar()->setEnabled(!ocupado);
  pbProgreso->setVisible(ocupado);
  if (ocupado) {
    titulo_trabajo_ = titulo;
    statusBar()->clearMessage();
    lProgreso->setText(QTexto(titulo));
    QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    lProgreso->clear();
    QApplication::restoreOverrideCursor();
  }
}

void TFormDezodudurAraRIVO::AvisarOcupado() {
  statusBar()->showMessage(QStringLiteral("Espere a que termine: ") + QTexto(titulo_trabajo_),
                           5000);
}

void TFormDezodudurAraRIVO::MostrarProgreso(const std::string& linea) {
  if (!Ocupado()) return;
  lProgreso->setText(QTexto(titulo_trabajo_ + " — " + linea));
}

void TFormDezodudurAraRIVO::CrearBarraDeEstado() {
  lProgreso = new QLabel(this);
  lProgreso->setObjectName(QStringLiteral("lProgreso"));
  statusBar()->addWidget(lProgreso, 1);
  pbProgreso = new QProgressBar(this);
  pbProgreso->setObjectName(QStringLiteral("pbProgreso"));
  // The models report lines, not fractions: the bar only says the work goes on.
  pbProgreso->setRange(0, 0);
  pbProgreso->setMaximumWidth(200);
  pbProgreso->setVisible(false);
  statusBar()->addPermanentWidget(pbProgreso);
}

void TFormDezodudurAraRIVO::MostrarPagina(QWidget* pagina, bool visible) {
  const int i = PageControl1->indexOf(pagina);
  if (i < 0) return;
  PageControl1->setTabVisible(i, visible);
  if (visible) PageControl1->setCurrentIndex(i);
  QAction* accion = pagina == TabSheet2   ? verTabSheet2
                    : pagina == TabSheet3 ? verTabSheet3
                    : pagina == TabSheet4 ? verTabSheet4
                                          : nullptr;
  if (accion != nullptr && accion->isChecked() != visible) accion->setChecked(visible);
}

std::string TFormDezodudurAraRIVO::Texto(const std::string& control) const {
  if (control == "Caption") return TextoStd(windowTitle());
  const QString nombre = QString::fromStdString(control);
  if (const auto* e = findChild<QLineEdit*>(nombre); e != nullptr) return TextoStd(e->text());
  if (const auto* c = findChild<QCheckBox*>(nombre); c != nullptr)
    return c->isChecked() ? "1" : "0";
  throw Excepcion("Control desconocido: " + control);
}

void TFormDezodudurAraRIVO::FijarTexto(const std::string& control, const std::string& texto) {
  if (control == "Caption") {
    setWindowTitle(QTexto(texto));
    return;
  }
  auto* e = findChild<QLineEdit*>(QString::fromStdString(control));
  if (e == nullptr) throw Excepcion("Control desconocido: " + control);
  e->setText(QTexto(texto));
  // Long texts (a vector of ethas) show their beginning.
  e->setCursorPosition(0);
}

std::optional<std::string> TFormDezodudurAraRIVO::ElegirArchivo(QFileDialog* dialogo,
                                                                const QStringList& filtros,
                                                                const std::string& carpeta) {
  dialogo->setNameFilters(filtros);
  if (!filtros.isEmpty()) dialogo->selectNameFilter(filtros.constFirst());
  if (!carpeta.empty()) dialogo->setDirectory(QTexto(carpeta));
  if (!dialogos.archivo) return std::nullopt;
  return dialogos.archivo(*dialogo);
}

void TFormDezodudurAraRIVO::CopiarRegion(const TPaintBox& pb, int x1, int y1, int x2, int y2) {
  const int ancho = x2 - x1 + 1;
  const int alto = y2 - y1 + 1;
  if (ancho <= 0 || alto <= 0) return;
  // Pixels outside the map come out blank; the picture keeps the size of the region.
  QApplication::clipboard()->setImage(pb.Imagen().copy(x1, y1, ancho, alto));
}

void TFormDezodudurAraRIVO::closeEvent(QCloseEvent* evento) {
  // Work under way has no safe stopping point: the window stays until it ends.
  if (Ocupado()) {
    evento->ignore();
    AvisarOcupado();
    return;
  }
  Ejecutar([this] { comandos_->FormClose(); });
  evento->accept();
}

void TFormDezodudurAraRIVO::Copiar(QLineEdit* de, QLineEdit* a) {
  // An edit that already holds the text is left alone, cursor included: two-way copies stop here.
  if (a->text() == de->text()) return;
  a->setText(de->text());
  a->setCursorPosition(0);
}

// Commands ------------------------------------------------------------------------------------

void TFormDezodudurAraRIVO::btBajarParqueClick() {
  Orden([this] { comandos_->btBajarParqueClick(); });
}
void TFormDezodudurAraRIVO::btCalcularClick() {
  Orden([this] { comandos_->btCalcularClick(); });
}
void TFormDezodudurAraRIVO::CalcularvientoClick() {
  Orden([this] { comandos_->CalcularvientoClick(); });
}
void TFormDezodudurAraRIVO::btCambiar_roClick() {
  Orden([this] { comandos_->btCambiar_roClick(); });
}
void TFormDezodudurAraRIVO::btUpdateMTinDBClick() {
  Orden([this] { comandos_->btUpdateMTinDBClick(); });
}
void TFormDezodudurAraRIVO::btCargarCalibradorClick() {
  Orden([this] { comandos_->btCargarCalibradorClick(); });
}
void TFormDezodudurAraRIVO::btGuardarCalibradorClick() {
  Orden([this] { comandos_->btGuardarCalibradorClick(); });
}
void TFormDezodudurAraRIVO::btCalibrarParqueClick() {
  Orden([this] { comandos_->btCalibrarParqueClick(); });
}
void TFormDezodudurAraRIVO::btLoadFromArchi_ModeloMTySeriesClick() {
  Orden([this] { comandos_->btLoadFromArchi_ModeloMTySeriesClick(); });
}
void TFormDezodudurAraRIVO::CalibrarSimpleEthaMeteoClick() {
  Orden([this] { comandos_->CalibrarSimpleEthaMeteoClick(); });
}
void TFormDezodudurAraRIVO::btCalcularMCClick() {
  Orden([this] { comandos_->btCalcularMCClick(); });
}
void TFormDezodudurAraRIVO::btCargarMCClick() {
  Orden([this] { comandos_->btCargarMCClick(); });
}
void TFormDezodudurAraRIVO::Button1Click() {
  Orden([this] { comandos_->Button1Click(); });
}
void TFormDezodudurAraRIVO::btProcesarSeriesConMCClick() {
  Orden([this] { comandos_->btProcesarSeriesConMCClick(); });
}
void TFormDezodudurAraRIVO::btProcesarRestriccionesClick() {
  Orden([this] { comandos_->btProcesarRestriccionesClick(); });
}
void TFormDezodudurAraRIVO::CrearSupercentralClick() {
  Orden([this] { comandos_->CrearSupercentralClick(); });
}
void TFormDezodudurAraRIVO::BorrarSupercentralClick() {
  Orden([this] { comandos_->BorrarSupercentralClick(); });
}

// Maps ----------------------------------------------------------------------------------------

void TFormDezodudurAraRIVO::VelocidadesMT_To_PB(TPaintBox* pb) {
  Orden([this, pb] { comandos_->VelocidadesMT_To_PB(*pb); });
}

void TFormDezodudurAraRIVO::pb_Parque_originalMouseMove(TPaintBox* /*pb*/, int x, int y) {
  Orden([this, x, y] {
    const std::optional<TLecturaRaton> l = comandos_->LecturaRaton(x, y);
    if (!l) return;
    eCoordenadasXY->setText(QTexto(l->coordenadas));
    if (l->molino) eMolino->setText(QTexto(*l->molino));
  });
}

void TFormDezodudurAraRIVO::pb_Parque_originalMouseDown(TPaintBox* pb, int x, int y) {
  Orden([this, pb, x, y] {
    const std::optional<TSeleccionMolino> s = comandos_->SeleccionarMolino(x, y);
    if (!s) return;
    eEthaMolino->setText(QTexto(s->etha));
    // The picture comes from the map that was clicked: the other one may sit on a hidden page.
    CopiarRegion(*pb, s->x1, s->y1, s->x2, s->y2);
  });
}

// Mirrors -------------------------------------------------------------------------------------

void TFormDezodudurAraRIVO::eDirChange() {
  Ejecutar([this] { Copiar(eDir, eDir1); });
}
void TFormDezodudurAraRIVO::eVAnemoEntradaChange() {
  Ejecutar([this] { Copiar(eVAnemoEntrada, eVAnemoEntrada1); });
}
void TFormDezodudurAraRIVO::eAlfaTerrenoChange() {
  Ejecutar([this] { Copiar(eAlfaTerreno, eAlfaTerreno1); });
}
void TFormDezodudurAraRIVO::eGamma_AtmosferaChange() {
  Ejecutar([this] { Copiar(eGamma_Atmosfera, eGamma_Atmosfera1); });
}
void TFormDezodudurAraRIVO::efpv3peChange() {
  Ejecutar([this] { Copiar(efpv3pe, efpv3pe1); });
}
void TFormDezodudurAraRIVO::eFactorPerdidasParqueChange() {
  Ejecutar([this] { Copiar(eFactorPerdidasParque, eFactorPerdidasParque1); });
}
void TFormDezodudurAraRIVO::eLimiteDePotenciaChange() {
  Ejecutar([this] { Copiar(eLimiteDePotencia, eLimiteDePotencia1); });
}
void TFormDezodudurAraRIVO::eVAnemoResultanteChange() {
  Ejecutar([this] { Copiar(eVAnemoResultante, eVAnemoResultante1); });
}
void TFormDezodudurAraRIVO::ePE_MW_ModeloTeoricoChange() {
  Ejecutar([this] { Copiar(ePE_MW_ModeloTeorico, ePE_MW_ModeloTeorico1); });
}
void TFormDezodudurAraRIVO::ePE_MW_RepresentantesChange() {
  Ejecutar([this] { Copiar(ePE_MW_Representantes, ePE_MW_Representantes1); });
}
void TFormDezodudurAraRIVO::eME_PesoChange() {
  Ejecutar([this] { Copiar(eME_Peso, eME_Peso1); });
}
void TFormDezodudurAraRIVO::eEthaMeteoChange() {
  Ejecutar([this] { Copiar(eEthaMeteo, eEthaMeteo2); });
}

void TFormDezodudurAraRIVO::TabSheet4Show() {
  Ejecutar([this] { Copiar(eEthaMeteo, eEthaMeteo1); });
}
void TFormDezodudurAraRIVO::eEthaMeteo1Change() {
  Ejecutar([this] { Copiar(eEthaMeteo1, eEthaMeteo); });
}
void TFormDezodudurAraRIVO::eDir1Change() {
  Ejecutar([this] { Copiar(eDir1, eDir); });
}
void TFormDezodudurAraRIVO::eVAnemoEntrada1Change() {
  Ejecutar([this] { Copiar(eVAnemoEntrada1, eVAnemoEntrada); });
}
void TFormDezodudurAraRIVO::eAlfaTerreno1Change() {
  Ejecutar([this] { Copiar(eAlfaTerreno1, eAlfaTerreno); });
}
void TFormDezodudurAraRIVO::eGamma_Atmosfera1Change() {
  Ejecutar([this] { Copiar(eGamma_Atmosfera1, eGamma_Atmosfera); });
}
void TFormDezodudurAraRIVO::efpv3pe1Change() {
  Ejecutar([this] { Copiar(efpv3pe1, efpv3pe); });
}
void TFormDezodudurAraRIVO::eFactorPerdidasParque1Change() {
  Ejecutar([this] { Copiar(eFactorPerdidasParque1, eFactorPerdidasParque); });
}
void TFormDezodudurAraRIVO::eLimiteDePotencia1Change() {
  Ejecutar([this] { Copiar(eLimiteDePotencia1, eLimiteDePotencia); });
}
void TFormDezodudurAraRIVO::eEthaMeteo2Change() {
  Ejecutar([this] { Copiar(eEthaMeteo2, eEthaMeteo); });
}
void TFormDezodudurAraRIVO::FechaDesde1Change() {
  Ejecutar([this] { FechaDesde->setDate(FechaDesde1->date()); });
}
void TFormDezodudurAraRIVO::FechaHasta1Change() {
  Ejecutar([this] { FechaHasta->setDate(FechaHasta1->date()); });
}

// Wiring --------------------------------------------------------------------------------------

void TFormDezodudurAraRIVO::ConectarManejadores() {
  using V = TFormDezodudurAraRIVO;
  const auto clic = [this](QPushButton* b, void (V::*m)()) {
    connect(b, &QPushButton::clicked, this, m);
  };
  clic(btBajarParque, &V::btBajarParqueClick);
  clic(btCalcular, &V::btCalcularClick);
  clic(btCalcular1, &V::btCalcularClick);
  clic(Calcularviento, &V::CalcularvientoClick);
  clic(btCambiar_ro, &V::btCambiar_roClick);
  clic(btUpdateMTinDB, &V::btUpdateMTinDBClick);
  clic(btCargarCalibrador, &V::btCargarCalibradorClick);
  clic(btGuardarCalibrador, &V::btGuardarCalibradorClick);
  clic(btCalibrarParque, &V::btCalibrarParqueClick);
  clic(btLoadFromArchi_ModeloMTySeries, &V::btLoadFromArchi_ModeloMTySeriesClick);
  clic(CalibrarSimpleEthaMeteo, &V::CalibrarSimpleEthaMeteoClick);
  clic(btCalcularMC, &V::btCalcularMCClick);
  clic(btCargarMC, &V::btCargarMCClick);
  clic(btCargarMC1, &V::btCargarMCClick);
  clic(Button1, &V::Button1Click);
  clic(btProcesarSeriesConMC, &V::btProcesarSeriesConMCClick);
  clic(btProcesarSeriesConMC1, &V::btProcesarSeriesConMCClick);
  clic(btProcesarRestricciones, &V::btProcesarRestriccionesClick);
  clic(btProcesarRestricciones1, &V::btProcesarRestriccionesClick);
  clic(CrearSupercentral, &V::CrearSupercentralClick);
  clic(BorrarSupercentral, &V::BorrarSupercentralClick);
  clic(btLevantarCurvaAeroADB, &V::btLevantarCurvaAeroADBClick);
  clic(CalcularReduccion, &V::CalcularReduccionClick);

  const auto cambio = [this](QLineEdit* e, void (V::*m)()) {
    connect(e, &QLineEdit::textChanged, this, m);
  };
  cambio(eDir, &V::eDirChange);
  cambio(eVAnemoEntrada, &V::eVAnemoEntradaChange);
  cambio(eAlfaTerreno, &V::eAlfaTerrenoChange);
  cambio(eGamma_Atmosfera, &V::eGamma_AtmosferaChange);
  cambio(efpv3pe, &V::efpv3peChange);
  cambio(eFactorPerdidasParque, &V::eFactorPerdidasParqueChange);
  cambio(eLimiteDePotencia, &V::eLimiteDePotenciaChange);
  cambio(eVAnemoResultante, &V::eVAnemoResultanteChange);
  cambio(ePE_MW_ModeloTeorico, &V::ePE_MW_ModeloTeoricoChange);
  cambio(ePE_MW_Representantes, &V::ePE_MW_RepresentantesChange);
  cambio(eME_Peso, &V::eME_PesoChange);
  cambio(eEthaMeteo, &V::eEthaMeteoChange);
  cambio(eEthaMeteo1, &V::eEthaMeteo1Change);
  cambio(eDir1, &V::eDir1Change);
  cambio(eVAnemoEntrada1, &V::eVAnemoEntrada1Change);
  cambio(eAlfaTerreno1, &V::eAlfaTerreno1Change);
  cambio(eGamma_Atmosfera1, &V::eGamma_Atmosfera1Change);
  cambio(efpv3pe1, &V::efpv3pe1Change);
  cambio(eFactorPerdidasParque1, &V::eFactorPerdidasParque1Change);
  cambio(eLimiteDePotencia1, &V::eLimiteDePotencia1Change);
  cambio(eEthaMeteo2, &V::eEthaMeteo2Change);
  cambio(PorcentajeAjusteCurvaSinf, &V::PorcentajeAjusteCurvaSinfChange);
  cambio(NIDcentralAnemo, &V::NIDcentralAnemoChange);
  cambio(NIDcentralesAunir, &V::NIDcentralesAunirChange);
  connect(FechaDesde1, &QDateEdit::dateChanged, this, &V::FechaDesde1Change);
  connect(FechaHasta1, &QDateEdit::dateChanged, this, &V::FechaHasta1Change);

  connect(PageControl1, &QTabWidget::currentChanged, this, [this](int i) {
    if (PageControl1->widget(i) == TabSheet4) TabSheet4Show();
  });

  for (TPaintBox* pb : {pb_Parque_original, pb_Parque_simple}) {
    connect(pb, &TPaintBox::MouseMove, this,
            [this, pb](int x, int y) { pb_Parque_originalMouseMove(pb, x, y); });
    connect(pb, &TPaintBox::MouseDown, this,
            [this, pb](int x, int y) { pb_Parque_originalMouseDown(pb, x, y); });
  }
}

void TFormDezodudurAraRIVO::CrearDialogos() {
  const auto dialogo = [this](const char* nombre, QFileDialog::AcceptMode modo,
                              const QStringList& filtros) {
    auto* d = new QFileDialog(this);
    d->setObjectName(QString::fromLatin1(nombre));
    d->setAcceptMode(modo);
    d->setNameFilters(filtros);
    return d;
  };
  odCalibrador = dialogo("odCalibrador", QFileDialog::AcceptOpen, {QStringLiteral("*.clp")});
  odCalibrador->setFileMode(QFileDialog::ExistingFile);
  sdCalibrador = dialogo("sdCalibrador", QFileDialog::AcceptSave, {QStringLiteral("*.clp")});
  sdCalibrador->setDefaultSuffix(QStringLiteral("clp"));
  odProcesarSeries =
      dialogo("odProcesarSeries", QFileDialog::AcceptOpen, {QStringLiteral("*.sas")});
  odProcesarSeries->setFileMode(QFileDialog::ExistingFile);
  OpenDialog1 = dialogo("OpenDialog1", QFileDialog::AcceptOpen, {});
}

void TFormDezodudurAraRIVO::CrearMenuVer() {
  QMenu* ver = menuBar()->addMenu(QStringLiteral("&Ver"));
  ver->setObjectName(QStringLiteral("MenuVer"));
  const auto entrada = [this, ver](QWidget* pagina, const QString& texto) {
    QAction* a = ver->addAction(texto);
    a->setObjectName(QStringLiteral("ver") + pagina->objectName());
    a->setCheckable(true);
    connect(a, &QAction::toggled, this, [this, pagina](bool on) { MostrarPagina(pagina, on); });
    return a;
  };
  verTabSheet2 = entrada(TabSheet2, QStringLiteral("Simulación detallada (TabSheet2)"));
  verTabSheet3 = entrada(TabSheet3, QStringLiteral("Base de datos y restricciones (TabSheet3)"));
  verTabSheet4 = entrada(TabSheet4, QStringLiteral("Curvas de potencia (TabSheet4)"));
}
