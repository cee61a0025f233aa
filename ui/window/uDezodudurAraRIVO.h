#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QDateEdit;
class QFileDialog;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTabWidget;
class QThread;
class TComandosVentana;
class TPaintBox;

// Every dialog the window opens goes through here, so tests answer them without blocking.
struct TDialogosVentana {
  // The message of a command that failed.
  std::function<void(const std::string&)> error;
  // A command's own message.
  std::function<void(const std::string&)> mensaje;
  // Yes/No question with its caption; true for Yes.
  std::function<bool(const std::string& titulo, const std::string& texto)> confirmar;
  // Runs an open or save dialog; the file chosen, or nothing when cancelled.
  std::function<std::optional<std::string>(QFileDialog&)> archivo;

  // Qt's message boxes and dialogs, parented to `padre`.
  static TDialogosVentana DelEscritorio(QWidget* padre);
};

// The main window: its pages, edits that mirror one another, the two maps and the command
// buttons. The commands themselves live behind TComandosVentana; each handler is one call to it,
// run through Ejecutar so a failure shows its message and leaves the window usable.
class TFormDezodudurAraRIVO : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFormDezodudurAraRIVO(QWidget* padre = nullptr);
  ~TFormDezodudurAraRIVO() override;

  // Replaces the commands (tests put a double here); waits for work in progress first.
  void FijarComandos(std::unique_ptr<TComandosVentana> comandos);
  TComandosVentana& Comandos() { return *comandos_; }

  // Runs one handler: an exception becomes a message box; the window keeps whatever state the
  // handler reached.
  void Ejecutar(const std::function<void()>& orden);

  // A function that a piece of work returns, to run on the window's thread when it ends.
  using TAlTerminar = std::function<void()>;
  // Runs `trabajo` on a thread of its own while the window's inputs are disabled and the status
  // bar shows `titulo` with a busy bar; what it returns then runs on the window's thread. An
  // exception from either side shows its message. Only one piece of work runs at a time, so the
  // models are never used by two computations at once: false, and nothing runs, while another
  // one is under way.
  bool EnSegundoPlano(const std::string& titulo, std::function<TAlTerminar()> trabajo);
  [[nodiscard]] bool Ocupado() const { return trabajo_ != nullptr; }
  // Blocks until the work under way (if any) has ended and its result has been applied.
  void EsperarTrabajo();
  // The last progress line of the work under way, in the status bar.
  void MostrarProgreso(const std::string& linea);

  // Shows the given page's tab (the View menu does this for the hidden pages).
  void MostrarPagina(QWidget* pagina, bool visible);

  // The text of a control by its design name ("Caption" is the window's title), and its
  // replacement; writing an edit fires its change handler as typing does. Raises Excepcion for a
  // name the window does not have.
  [[nodiscard]] std::string Texto(const std::string& control) const;
  void FijarTexto(const std::string& control, const std::string& texto);

  // Runs a file dialog with the given filters (the first one selected) and starting folder;
  // the file chosen, or nothing when cancelled.
  std::optional<std::string> ElegirArchivo(QFileDialog* dialogo, const QStringList& filtros,
                                           const std::string& carpeta = {});

  // Puts on the clipboard the pixels (x1, y1)..(x2, y2) of the box's picture; nothing when the
  // rectangle is empty.
  static void CopiarRegion(const TPaintBox& pb, int x1, int y1, int x2, int y2);

  TDialogosVentana dialogos;

  // Controls, named as the design names them.
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheet3 = nullptr;
  QWidget* TabSheet4 = nullptr;
  QWidget* TabSheet5 = nullptr;

  // TabSheet2
  TPaintBox* pb_Parque_original = nullptr;
  QSplitter* Splitter1 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QFrame* Panel1 = nullptr;
  QLineEdit* eDir = nullptr;
  QLineEdit* eVAnemoEntrada = nullptr;
  QLineEdit* eAlfaTerreno = nullptr;
  QLineEdit* eGamma_Atmosfera = nullptr;
  QLineEdit* efpv3pe = nullptr;
  QLineEdit* eFactorPerdidasParque = nullptr;
  QLineEdit* eLimiteDePotencia = nullptr;
  QPushButton* btCargarCalibrador = nullptr;
  QPushButton* btGuardarCalibrador = nullptr;
  QPushButton* btUpdateMTinDB = nullptr;
  QPushButton* btCalcular = nullptr;
  QPushButton* btProcesarSeries = nullptr;
  QLineEdit* eVAnemoResultante = nullptr;
  QLineEdit* VientoLibre = nullptr;
  QLineEdit* ePE_MW_ModeloTeorico = nullptr;
  QLineEdit* ePE_MW_Representantes = nullptr;
  QLineEdit* eME_Peso = nullptr;
  QLineEdit* eErr2Calibrar = nullptr;
  QPushButton* btCalibrarParque = nullptr;
  QPushButton* CalcularReduccion = nullptr;
  QPushButton* Calcularviento = nullptr;
  QLineEdit* vientoparapot = nullptr;
  QLineEdit* VientoDeLaPotMW = nullptr;
  QPushButton* CalibrarSimpleEthaMeteo = nullptr;
  QLineEdit* eEthaMolino = nullptr;
  QPushButton* btCambiar_ro = nullptr;
  QCheckBox* cbCambiarTodosLosRo = nullptr;
  QLineEdit* eMolino = nullptr;
  QLineEdit* eEthaMeteo = nullptr;
  QLineEdit* eCoordenadasXY = nullptr;

  // TabSheet3
  QLineEdit* eNidCentral = nullptr;
  QPushButton* btBajarParque = nullptr;
  QPushButton* btCalcularMC = nullptr;
  QPushButton* btCargarMC = nullptr;
  QPushButton* btLevantarCurvaAeroADB = nullptr;
  QPushButton* btLoadFromArchi_ModeloMTySeries = nullptr;
  QLineEdit* PorcentajeAjusteCurvaSinf = nullptr;
  QLineEdit* PorcentajeAjusteCurvaSsup = nullptr;
  QLabel* Label9 = nullptr;
  QPushButton* btProcesarSeriesConMC = nullptr;
  QPushButton* btProcesarRestricciones = nullptr;
  QDateEdit* FechaDesde = nullptr;
  QDateEdit* FechaHasta = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* NIDcentralesAunir = nullptr;
  QLineEdit* NIDcentralAnemo = nullptr;
  QPushButton* CrearSupercentral = nullptr;
  QLabel* Label7 = nullptr;
  QLineEdit* NIDsupercentralBorrar = nullptr;
  QPushButton* BorrarSupercentral = nullptr;
  QLabel* Label8 = nullptr;

  // TabSheet4
  TPaintBox* PaintBox1 = nullptr;
  QPushButton* Button1 = nullptr;
  QLineEdit* eEthaMeteo1 = nullptr;

  // TabSheet5
  TPaintBox* pb_Parque_simple = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QLineEdit* eDir1 = nullptr;
  QLineEdit* eVAnemoEntrada1 = nullptr;
  QLineEdit* eAlfaTerreno1 = nullptr;
  QLineEdit* eGamma_Atmosfera1 = nullptr;
  QLineEdit* efpv3pe1 = nullptr;
  QLineEdit* eFactorPerdidasParque1 = nullptr;
  QLineEdit* eLimiteDePotencia1 = nullptr;
  QLineEdit* eEthaMeteo2 = nullptr;
  QPushButton* btCargarMC1 = nullptr;
  QPushButton* btCalcular1 = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* eVAnemoResultante1 = nullptr;
  QLineEdit* ePE_MW_ModeloTeorico1 = nullptr;
  QLineEdit* ePE_MW_Representantes1 = nullptr;
  QLineEdit* eME_Peso1 = nullptr;
  QLabel* Label4 = nullptr;
  QDateEdit* FechaDesde1 = nullptr;
  QDateEdit* FechaHasta1 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QPushButton* btProcesarSeriesConMC1 = nullptr;
  QPushButton* btProcesarRestricciones1 = nullptr;

  // Non-visual
  QFileDialog* odCalibrador = nullptr;
  QFileDialog* sdCalibrador = nullptr;
  QFileDialog* odProcesarSeries = nullptr;
  QFileDialog* OpenDialog1 = nullptr;

  // Status bar: what the window is doing and a busy bar while work runs.
  QLabel* lProgreso = nullptr;
  QProgressBar* pbProgreso = nullptr;

  // View menu entries that show the pages whose tabs start hidden.
  QAction* verTabSheet2 = nullptr;
  QAction* verTabSheet3 = nullptr;
  QAction* verTabSheet4 = nullptr;

 public slots:
  // Theoretical model
  void btBajarParqueClick();
  void btCalcularClick();
  void CalcularvientoClick();
  void btCambiar_roClick();
  void btUpdateMTinDBClick();
  // Calibration and combined model
  void btCargarCalibradorClick();
  void btGuardarCalibradorClick();
  void btCalibrarParqueClick();
  void btLoadFromArchi_ModeloMTySeriesClick();
  void CalibrarSimpleEthaMeteoClick();
  void btCalcularMCClick();
  void btCargarMCClick();
  void Button1Click();
  // Restrictions and supercentrals
  void btProcesarSeriesConMCClick();
  void btProcesarRestriccionesClick();
  void CrearSupercentralClick();
  void BorrarSupercentralClick();
  // Maps
  void pb_Parque_originalMouseMove(TPaintBox* pb, int x, int y);
  void pb_Parque_originalMouseDown(TPaintBox* pb, int x, int y);
  void VelocidadesMT_To_PB(TPaintBox* pb);

  // Mirrors: TabSheet2 to its twins
  void eDirChange();
  void eVAnemoEntradaChange();
  void eAlfaTerrenoChange();
  void eGamma_AtmosferaChange();
  void efpv3peChange();
  void eFactorPerdidasParqueChange();
  void eLimiteDePotenciaChange();
  void eVAnemoResultanteChange();
  void ePE_MW_ModeloTeoricoChange();
  void ePE_MW_RepresentantesChange();
  void eME_PesoChange();
  void eEthaMeteoChange();
  // TabSheet4 and TabSheet5 back to TabSheet2
  void TabSheet4Show();
  void eEthaMeteo1Change();
  void eDir1Change();
  void eVAnemoEntrada1Change();
  void eAlfaTerreno1Change();
  void eGamma_Atmosfera1Change();
  void efpv3pe1Change();
  void eFactorPerdidasParque1Change();
  void eLimiteDePotencia1Change();
  void eEthaMeteo2Change();
  void FechaDesde1Change();
  void FechaHasta1Change();

  // Handlers with no effect
  void PorcentajeAjusteCurvaSinfChange() {}
  void NIDcentralAnemoChange() {}
  void NIDcentralesAunirChange() {}
  void btLevantarCurvaAeroADBClick() {}
  void CalcularReduccionClick() {}

 signals:
  // A piece of work run by EnSegundoPlano has ended and its result has been applied.
  void TrabajoTerminado();

 protected:
  void closeEvent(QCloseEvent* evento) override;

 private:
  void CrearTabSheet2();
  void CrearTabSheet3();
  void CrearTabSheet4();
  void CrearTabSheet5();
  void CrearDialogos();
  void CrearMenuVer();
  void ConectarManejadores();
  void FormCreate();
  void CrearBarraDeEstado();
  // The handlers of commands and maps: refused with a note while work is under way.
  void Orden(const std::function<void()>& orden);
  void FijarOcupado(bool ocupado, const std::string& titulo);
  // The status note for whatever the user tried while work runs.
  void AvisarOcupado();

  static void Copiar(QLineEdit* de, QLineEdit* a);

  std::unique_ptr<TComandosVentana> comandos_;
  QThread* trabajo_ = nullptr;
  std::string titulo_trabajo_;
};

// A label above its edit, as one cell of a grid; the edit carries `nombre`, the label
// `nombre` + "Label".
QLineEdit* EditEtiquetado(QGridLayout* rejilla, int fila, int columna, const char* nombre,
                          const QString& etiqueta, const QString& texto, int columnas = 1);
