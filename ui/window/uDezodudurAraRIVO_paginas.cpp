// The pages of the main window: controls, captions, initial texts and their places.
#include <QCheckBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "uDezodudurAraRIVO.h"
#include "uFormatosQt.h"
#include "uPaintBox.h"

namespace {

QString L(const char* utf8) { return QString::fromUtf8(utf8); }

QPushButton* Boton(const char* nombre, const QString& caption) {
  auto* b = new QPushButton(caption);
  b->setObjectName(QString::fromLatin1(nombre));
  return b;
}

QLabel* Etiqueta(const char* nombre, const QString& texto) {
  auto* l = new QLabel(texto);
  l->setObjectName(QString::fromLatin1(nombre));
  return l;
}

QLineEdit* Edit(const char* nombre, const QString& texto) {
  auto* e = new QLineEdit(texto);
  e->setObjectName(QString::fromLatin1(nombre));
  return e;
}

QDateEdit* Fecha(const char* nombre, int anio, int mes, int dia) {
  auto* f = new QDateEdit(QDate(anio, mes, dia));
  f->setObjectName(QString::fromLatin1(nombre));
  f->setDisplayFormat(PatronFechaQt(FormatosActuales()));
  f->setCalendarPopup(true);
  return f;
}

QWidget* Pagina(QTabWidget* pc, const char* nombre) {
  auto* p = new QWidget;
  p->setObjectName(QString::fromLatin1(nombre));
  pc->addTab(p, QString::fromLatin1(nombre));
  return p;
}

// A bold heading between the groups of a page.
QLabel* Titulo(const char* nombre, const QString& texto) {
  QLabel* l = Etiqueta(nombre, texto);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  l->setContentsMargins(0, 10, 0, 2);
  return l;
}

}  // namespace

QLineEdit* EditEtiquetado(QGridLayout* rejilla, int fila, int columna, const char* nombre,
                          const QString& etiqueta, const QString& texto, int columnas) {
  auto* celda = new QWidget;
  auto* v = new QVBoxLayout(celda);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(2);
  QLineEdit* e = Edit(nombre, texto);
  QLabel* l = Etiqueta("", etiqueta);
  l->setObjectName(QString::fromLatin1(nombre) + QStringLiteral("Label"));
  l->setBuddy(e);
  v->addWidget(l);
  v->addWidget(e);
  rejilla->addWidget(celda, fila, columna, 1, columnas, Qt::AlignBottom);
  return e;
}

void TFormDezodudurAraRIVO::CrearTabSheet2() {
  TabSheet2 = Pagina(PageControl1, "TabSheet2");
  auto* capa = new QHBoxLayout(TabSheet2);
  capa->setContentsMargins(4, 4, 4, 4);
  Splitter1 = new QSplitter(Qt::Horizontal);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  capa->addWidget(Splitter1);

  // The map with Panel1 below it.
  auto* izquierda = new QWidget;
  auto* vi = new QVBoxLayout(izquierda);
  vi->setContentsMargins(0, 0, 0, 0);
  pb_Parque_original = new TPaintBox(QStringLiteral("pb_Parque_original"), 978, 616);
  vi->addWidget(pb_Parque_original);
  Panel1 = new QFrame;
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setAccessibleName(QStringLiteral("Panel1"));
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setFrameShadow(QFrame::Raised);
  auto* gp = new QGridLayout(Panel1);
  eEthaMolino = EditEtiquetado(gp, 0, 0, "eEthaMolino", L("Molino_etha: "), L("1"));
  btCambiar_ro = Boton("btCambiar_ro", L("Cambiar ro"));
  gp->addWidget(btCambiar_ro, 0, 1, Qt::AlignBottom);
  cbCambiarTodosLosRo = new QCheckBox(L("Cambiar todos los Ro."));
  cbCambiarTodosLosRo->setObjectName(QStringLiteral("cbCambiarTodosLosRo"));
  gp->addWidget(cbCambiarTodosLosRo, 0, 2, Qt::AlignBottom);
  eEthaMeteo = EditEtiquetado(gp, 0, 3, "eEthaMeteo", L("Meteo_etha: "), L("1"));
  eMolino = Edit("eMolino", L("eMolino"));
  gp->addWidget(eMolino, 1, 0, 1, 2);
  eCoordenadasXY = Edit("eCoordenadasXY", L("eCoordenadasXY"));
  gp->addWidget(eCoordenadasXY, 1, 2, 1, 2);
  vi->addWidget(Panel1);
  vi->addStretch(1);
  Splitter1->addWidget(izquierda);

  GroupBox1 = new QGroupBox(L("GroupBox1"));
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  auto* g = new QGridLayout(GroupBox1);
  g->setVerticalSpacing(4);
  int f = 0;
  eDir = EditEtiquetado(g, f, 0, "eDir", L("Dirección [°]"), L("270"));
  eVAnemoEntrada = EditEtiquetado(g, f++, 1, "eVAnemoEntrada", L("VAnemo [m/s] "), L("9.99"));
  eAlfaTerreno = EditEtiquetado(g, f, 0, "eAlfaTerreno", L("Alfa terreno:"), L("0.006"));
  eGamma_Atmosfera =
      EditEtiquetado(g, f++, 1, "eGamma_Atmosfera", L("Gamma Atmósfera:"), L("0.006"));
  efpv3pe = EditEtiquetado(g, f, 0, "efpv3pe", L("fpv3pe:"), L("1"));
  eFactorPerdidasParque =
      EditEtiquetado(g, f++, 1, "eFactorPerdidasParque", L("Factor de pérdidas:"), L("1"));
  eLimiteDePotencia =
      EditEtiquetado(g, f++, 0, "eLimiteDePotencia", L("Límite de potencia:"), L("1"));
  btCargarCalibrador = Boton("btCargarCalibrador", L("Cargar Cal."));
  btGuardarCalibrador = Boton("btGuardarCalibrador", L("Guardar Cal."));
  g->addWidget(btCargarCalibrador, f, 0);
  g->addWidget(btGuardarCalibrador, f++, 1);
  btUpdateMTinDB = Boton("btUpdateMTinDB", L("Update MT in DB"));
  btProcesarSeries = Boton("btProcesarSeries", L("Procesar Series"));
  g->addWidget(btUpdateMTinDB, f, 0);
  g->addWidget(btProcesarSeries, f++, 1);
  btCalcular = Boton("btCalcular", L("Calcular"));
  g->addWidget(btCalcular, f++, 0, 1, 2);
  eVAnemoResultante = EditEtiquetado(g, f, 0, "eVAnemoResultante", L("VAnemo [m/s]"), L("???"));
  VientoLibre = EditEtiquetado(g, f++, 1, "VientoLibre",
                               L("Viento libre incidente\nen la central (m/s)"), QString());
  ePE_MW_ModeloTeorico = EditEtiquetado(g, f, 0, "ePE_MW_ModeloTeorico", L("ePE_MW_ModeloTeorico"),
                                        L("ePE_MW_ModeloTeorico"));
  ePE_MW_Representantes = EditEtiquetado(g, f++, 1, "ePE_MW_Representantes", L("[MW] (datos)"),
                                         L("ePE_MW_Representantes"));
  eME_Peso = EditEtiquetado(g, f, 0, "eME_Peso", L("(peso - Datos ME)"), L("eME_Peso"));
  eErr2Calibrar = EditEtiquetado(g, f++, 1, "eErr2Calibrar", L("Err2"), L("eErr2Calibrar"));
  btCalibrarParque = Boton("btCalibrarParque", L("Calibrar"));
  CalcularReduccion = Boton("CalcularReduccion", L("Calcular reducción"));
  g->addWidget(btCalibrarParque, f, 0);
  g->addWidget(CalcularReduccion, f++, 1);
  vientoparapot = EditEtiquetado(g, f, 0, "vientoparapot",
                                 L("Calcula el viento libre incidente\nen el parque para que se "
                                   "genere\nuna potencia determinada.\nEl viento está referido a "
                                   "la densidad base."),
                                 L("50"));
  VientoDeLaPotMW = EditEtiquetado(g, f++, 1, "VientoDeLaPotMW",
                                   L("Viento libre asociado\n a la potencia generada."), QString());
  Calcularviento = Boton("Calcularviento", L("Calcular viento "));
  CalibrarSimpleEthaMeteo = Boton("CalibrarSimpleEthaMeteo", L("Calibración simple EthaMeteo"));
  g->addWidget(Calcularviento, f, 0);
  g->addWidget(CalibrarSimpleEthaMeteo, f++, 1);
  g->setRowStretch(f, 1);
  Splitter1->addWidget(GroupBox1);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
}

void TFormDezodudurAraRIVO::CrearTabSheet3() {
  TabSheet3 = Pagina(PageControl1, "TabSheet3");
  // Two independent columns: the central's commands and the supercentrals.
  auto* capa = new QHBoxLayout(TabSheet3);
  capa->setContentsMargins(12, 12, 12, 12);
  capa->setSpacing(24);
  auto* izquierda = new QWidget;
  auto* g = new QGridLayout(izquierda);
  g->setContentsMargins(0, 0, 0, 0);
  g->setVerticalSpacing(6);
  int f = 0;
  eNidCentral = EditEtiquetado(g, f, 0, "eNidCentral", L("NID de la central eólica a seleccionar"),
                               QString());
  btBajarParque = Boton("btBajarParque", L("Bajar Parque MT From DB"));
  g->addWidget(btBajarParque, f++, 1, Qt::AlignBottom);
  btCalcularMC = Boton("btCalcularMC", L("Calcular MC"));
  btCargarMC = Boton("btCargarMC", L("Cargar MC"));
  g->addWidget(btCalcularMC, f, 0);
  g->addWidget(btCargarMC, f++, 1);
  btLevantarCurvaAeroADB = Boton("btLevantarCurvaAeroADB", L("Subir Curvas Aeros"));
  g->addWidget(btLevantarCurvaAeroADB, f++, 0);
  g->setRowMinimumHeight(f++, 8);

  Label9 = Etiqueta("Label9", L("Rango de ajuste en potencia de la curva s en los datos del "
                                "cluster.\n% inferior            % superior "));
  g->addWidget(Label9, f++, 0, 1, 2);
  PorcentajeAjusteCurvaSinf = Edit("PorcentajeAjusteCurvaSinf", L("5"));
  PorcentajeAjusteCurvaSinf->setToolTip(Label9->text());
  PorcentajeAjusteCurvaSsup = Edit("PorcentajeAjusteCurvaSsup", L("95"));
  g->addWidget(PorcentajeAjusteCurvaSinf, f, 0);
  g->addWidget(PorcentajeAjusteCurvaSsup, f++, 1);
  btLoadFromArchi_ModeloMTySeries =
      Boton("btLoadFromArchi_ModeloMTySeries", L("Crear archivo .clp con MT y archivo .sas"));
  g->addWidget(btLoadFromArchi_ModeloMTySeries, f++, 0, 1, 2);
  g->setRowMinimumHeight(f++, 8);

  Label1 = Etiqueta("Label1", L("Desde"));
  Label2 = Etiqueta("Label2", L("Hasta"));
  g->addWidget(Label1, f, 0);
  g->addWidget(Label2, f++, 1);
  FechaDesde = Fecha("FechaDesde", 2015, 10, 28);
  FechaHasta = Fecha("FechaHasta", 2016, 1, 15);
  Label1->setBuddy(FechaDesde);
  Label2->setBuddy(FechaHasta);
  g->addWidget(FechaDesde, f, 0);
  g->addWidget(FechaHasta, f++, 1);
  btProcesarSeriesConMC = Boton("btProcesarSeriesConMC", L("Procesar seris con MC."));
  btProcesarRestricciones = Boton("btProcesarRestricciones", L("btProcesarRestricciones"));
  g->addWidget(btProcesarSeriesConMC, f, 0);
  g->addWidget(btProcesarRestricciones, f++, 1);
  g->setRowStretch(f, 1);
  capa->addWidget(izquierda);

  auto* derecha = new QWidget;
  auto* s = new QGridLayout(derecha);
  s->setContentsMargins(0, 0, 0, 0);
  s->setVerticalSpacing(6);
  int r = 0;
  NIDcentralesAunir =
      EditEtiquetado(s, r++, 0, "NIDcentralesAunir",
                     L("Introducir el NID de las centrales separado por \";\""), L("20;21;28"));
  NIDcentralAnemo = EditEtiquetado(
      s, r++, 0, "NIDcentralAnemo",
      L("NID de la central que asocia su Estación\n Meteorológica con la supercentral"), L("20"));
  CrearSupercentral = Boton("CrearSupercentral", L("Crear supercentral"));
  s->addWidget(CrearSupercentral, r++, 0);
  Label7 = Etiqueta(
      "Label7",
      L("Se crea una supercentral que modela en conjunto las centrales especificadas. \n"
        "Se puede elegir que central asocia su EM con la supercentral.\n"
        "El NID de la supercentral  es la unión de los NID de las centrales individuales. \n"
        "Se crea el correspondiente MT y se guarda en la BD.\n"
        "Se crea un archivo calibrador (.clp) a partir del MT y un archivo de series de datos "
        "(.sas). \n"
        "El calibrador se guarda en la carpeta correspondiente a la central."));
  s->addWidget(Label7, r++, 0);
  s->setRowMinimumHeight(r++, 16);
  NIDsupercentralBorrar = EditEtiquetado(s, r++, 0, "NIDsupercentralBorrar",
                                         L("NID de la supercentral a borrar"), L("202128"));
  BorrarSupercentral = Boton("BorrarSupercentral", L("Borrar supercentral"));
  s->addWidget(BorrarSupercentral, r++, 0);
  Label8 = Etiqueta("Label8", L("Borra la supercentral de la BD.\nLa supercentral a borrar se "
                                "especifica según su NID."));
  s->addWidget(Label8, r++, 0);
  s->setRowStretch(r, 1);
  capa->addWidget(derecha);
  capa->addStretch(1);
}

void TFormDezodudurAraRIVO::CrearTabSheet4() {
  TabSheet4 = Pagina(PageControl1, "TabSheet4");
  auto* g = new QGridLayout(TabSheet4);
  PaintBox1 = new TPaintBox(QStringLiteral("PaintBox1"), 797, 501);
  g->addWidget(PaintBox1, 0, 0, 3, 1, Qt::AlignTop | Qt::AlignLeft);
  Button1 = Boton("Button1", L("Button1"));
  g->addWidget(Button1, 0, 1, Qt::AlignTop);
  eEthaMeteo1 = EditEtiquetado(g, 1, 1, "eEthaMeteo1", L("Meteo_etha: "), L("1"));
  g->setRowStretch(2, 1);
  g->setColumnStretch(2, 1);
}

void TFormDezodudurAraRIVO::CrearTabSheet5() {
  TabSheet5 = Pagina(PageControl1, "TabSheet5");
  auto* capa = new QHBoxLayout(TabSheet5);
  capa->setContentsMargins(4, 4, 4, 4);
  pb_Parque_simple = new TPaintBox(QStringLiteral("pb_Parque_simple"), 978, 616);
  capa->addWidget(pb_Parque_simple, 0, Qt::AlignTop);

  GroupBox2 = new QGroupBox(L("Entradas"));
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  capa->addWidget(GroupBox2, 1);
  auto* g = new QGridLayout(GroupBox2);
  g->setVerticalSpacing(4);
  int f = 0;
  eDir1 = EditEtiquetado(g, f, 0, "eDir1", L("Dirección E.M. [°]"), L("270"));
  eVAnemoEntrada1 =
      EditEtiquetado(g, f++, 1, "eVAnemoEntrada1", L("Velocidad E.M. [m/s] "), L("9.99"));
  eAlfaTerreno1 = EditEtiquetado(g, f, 0, "eAlfaTerreno1", L("Alfa terreno:"), L("0.006"));
  eGamma_Atmosfera1 =
      EditEtiquetado(g, f++, 1, "eGamma_Atmosfera1", L("Gamma Atmósfera:"), L("0.006"));
  efpv3pe1 = EditEtiquetado(g, f, 0, "efpv3pe1", L("fpv3pe:"), L("1"));
  eFactorPerdidasParque1 =
      EditEtiquetado(g, f++, 1, "eFactorPerdidasParque1", L("Factor de pérdidas:"), L("1"));
  eLimiteDePotencia1 =
      EditEtiquetado(g, f, 0, "eLimiteDePotencia1", L("Límite de potencia [MW]"), L("1"));
  eEthaMeteo2 = EditEtiquetado(g, f++, 1, "eEthaMeteo2", L("Etha E.M."), L("1"));
  btCargarMC1 = Boton("btCargarMC1", L("Cargar Modelo Calibrado"));
  btCalcular1 = Boton("btCalcular1", L("Simular Modelo Teórico"));
  g->addWidget(btCargarMC1, f, 0);
  g->addWidget(btCalcular1, f++, 1);

  Label3 = Titulo("Label3", L("Salidas"));
  g->addWidget(Label3, f++, 0, 1, 2);
  eVAnemoResultante1 =
      EditEtiquetado(g, f, 0, "eVAnemoResultante1", L("Velocidad E.M. [m/s] "), L("???"));
  ePE_MW_ModeloTeorico1 =
      EditEtiquetado(g, f++, 1, "ePE_MW_ModeloTeorico1", L("Potencia Modelo Teórico [MW]"),
                     L("ePE_MW_ModeloTeorico"));
  ePE_MW_Representantes1 =
      EditEtiquetado(g, f, 0, "ePE_MW_Representantes1", L("Potencia Modelo Empírico [MW]"),
                     L("ePE_MW_Representantes"));
  eME_Peso1 =
      EditEtiquetado(g, f++, 1, "eME_Peso1", L("Peso Datos Modelo Empírico"), L("eME_Peso"));

  Label4 = Titulo("Label4", L("Restricciones Operativas"));
  g->addWidget(Label4, f++, 0, 1, 2);
  Label5 = Etiqueta("Label5", L("Desde (>=)"));
  Label6 = Etiqueta("Label6", L("Hasta (<=)"));
  g->addWidget(Label5, f, 0);
  g->addWidget(Label6, f++, 1);
  FechaDesde1 = Fecha("FechaDesde1", 2015, 10, 28);
  FechaHasta1 = Fecha("FechaHasta1", 2016, 1, 15);
  Label5->setBuddy(FechaDesde1);
  Label6->setBuddy(FechaHasta1);
  g->addWidget(FechaDesde1, f, 0);
  g->addWidget(FechaHasta1, f++, 1);
  btProcesarSeriesConMC1 = Boton("btProcesarSeriesConMC1", L("Calcular con todos los datos"));
  btProcesarRestricciones1 = Boton("btProcesarRestricciones1", L("Calcular solo las R.O."));
  g->addWidget(btProcesarSeriesConMC1, f, 0);
  g->addWidget(btProcesarRestricciones1, f++, 1);
  g->setRowStretch(f, 1);
}
