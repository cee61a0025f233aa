#include "ulineacomandos.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <ostream>
#include <streambuf>
#include <utility>

#include "carpetas.h"
#include "errores.h"
#include "numtext.h"
#include "ucalibrador.h"
#include "ucomandos_calibracion.h"
#include "ucomandos_modeloteorico.h"
#include "ucomandos_restricciones.h"
#include "umapaparque.h"
#include "uparquedemo.h"
#include "uparques_modelocombinado.h"
#include "urosx.h"

namespace {

// A badly formed command line: reported with the usage hint and exit status 2.
class ExcepcionUso : public Excepcion {
 public:
  using Excepcion::Excepcion;
};

const char* const kAyudaGeneral =
    "Uso: modelado_ro [opciones generales] COMANDO [opciones]\n"
    "\n"
    "Comandos:\n"
    "  bajar     baja de la base de datos el modelo teórico de una central y lo guarda en\n"
    "            su carpeta (c<NID>/c<NID>_parque_mt.pmt)\n"
    "  simular   simula el modelo teórico para el viento de la estación meteorológica\n"
    "  viento    viento libre incidente para que el parque genere una potencia dada\n"
    "  calibrador           crea el calibrador (c<NID>_calibrador.clp) con el modelo y la serie\n"
    "                       medida de la central (c<NID>_series10min.sas)\n"
    "  calibrar             calibra el calibrador de la central\n"
    "  etha-meteo           calibración simple de la corrección de la estación\n"
    "  combinado            crea el modelo combinado (c<NID>.pmc) con el calibrador\n"
    "  curvas               gráfico de las potencias teórica, empírica y combinada en una "
    "dirección\n"
    "  procesar-mc          el modelo combinado sobre toda la serie entre dos fechas\n"
    "  restricciones        energía no suministrada en las restricciones operativas\n"
    "  crear-supercentral   modelo y calibrador de una supercentral\n"
    "  borrar-supercentral  borra de la base de datos los modelos de una supercentral\n"
    "\n"
    "Opciones generales (antes o después del comando):\n"
    "  --raiz CARPETA      carpeta de trabajo (si no, VELTRA_MODELADO_RO o ~/veltra/modelado_ro)\n"
    "  --basura CARPETA    carpeta de diagnóstico (si no, VELTRA_BASURA o ~/veltra/basura)\n"
    "  --pasarela HOST[:PUERTO]  pasarela SQL (si no, VELTRA_PASARELA o localhost:80)\n"
    "  --help              esta ayuda; 'modelado_ro COMANDO --help' la del comando\n";

const char* const kAyudaModelo =
    "Modelo (uno de):\n"
    "  --central NID       el modelo que 'bajar' guardó para la central en la carpeta de trabajo\n"
    "  --pmt ARCHIVO       un archivo de modelo teórico (.pmt)\n"
    "  --demo              el parque de demostración incorporado (8 molinos de 2 MW)\n"
    "\n"
    "Viento en la estación meteorológica (admiten expresiones, p. ej. '2*4.5'):\n"
    "  --dir GRADOS        dirección de donde viene el viento (270)\n"
    "  --vel M/S           velocidad medida en la estación (9.9)\n"
    "\n"
    "Parámetros del modelo (por omisión, los del modelo):\n"
    "  --alfa X            alfa terreno\n"
    "  --gamma X           gamma atmósfera\n"
    "  --fpv3pe X          fpv3pe\n"
    "  --perdidas X        factor de pérdidas\n"
    "  --limite MW         límite de potencia (potencia autorizada)\n"
    "  --etha-meteo VECTOR corrección de la estación, '[ n| c1;  c2; ...]'\n"
    "  --etha-molino X     etha de molino a aplicar antes de simular, con:\n"
    "  --molino NRO        el molino de ese número, o\n"
    "  --todos             todos los molinos\n";

const char* const kAyudaSimular =
    "Uso: modelado_ro simular (--central NID | --pmt ARCHIVO | --demo) [opciones]\n"
    "\n"
    "Simula el modelo teórico para el viento medido en la estación y muestra el viento libre\n"
    "incidente, la potencia del modelo teórico y la velocidad que el modelo reproduce en la\n"
    "estación.\n"
    "\n";

const char* const kAyudaSimularMapa =
    "\n"
    "Mapa:\n"
    "  --mapa ARCHIVO.png  escribe el mapa de velocidades del parque\n"
    "  --ancho PX          ancho del mapa (978)\n"
    "  --alto PX           alto del mapa (616)\n";

const char* const kAyudaViento =
    "Uso: modelado_ro viento (--central NID | --pmt ARCHIVO | --demo) --potencia MW [opciones]\n"
    "\n"
    "Simula primero para la dirección y el viento dados, y busca luego el viento libre\n"
    "incidente (a la densidad base) con el que el parque genera la potencia pedida.\n"
    "\n"
    "  --potencia MW       potencia pedida (50)\n"
    "\n";

const char* const kAyudaBajar =
    "Uso: modelado_ro bajar --central NID [--pasarela HOST[:PUERTO]]\n"
    "\n"
    "Baja de la base de datos el modelo teórico de la central (crea sus filas de modelo la\n"
    "primera vez, con los parámetros por omisión) y lo guarda en la carpeta de la central.\n";

const char* const kAyudaCalibrador =
    "Uso: modelado_ro calibrador --central NID [--inf PCT] [--sup PCT]\n"
    "\n"
    "Crea el calibrador de la central con su modelo teórico (c<NID>_parque_mt.pmt, de 'bajar') y\n"
    "su serie medida (c<NID>_series10min.sas) y lo guarda como c<NID>_calibrador.clp.\n"
    "  --inf PCT, --sup PCT  rango de ajuste de las curvas S en % de la potencia (5 y 95)\n";

const char* const kAyudaCalibrar =
    "Uso: modelado_ro calibrar (--central NID | --clp ARCHIVO) [--semilla N]\n"
    "\n"
    "Calibra la corrección de la estación y el factor de pérdidas del calibrador. El resultado\n"
    "queda en la carpeta de diagnóstico (calibrador_<nombre>_FIN_.clp) y, con --central, también\n"
    "en c<NID>_calibrador.clp para el modelo combinado.\n"
    "  --semilla N         semilla de la búsqueda aleatoria (si no, el reloj)\n";

const char* const kAyudaEthaMeteo =
    "Uso: modelado_ro etha-meteo --central NID\n"
    "\n"
    "Calibración simple de la corrección de la estación con el calibrador de la central; escribe\n"
    "EthaMeteoCalibracionSimple.txt en la carpeta de la central.\n";

const char* const kAyudaCombinado =
    "Uso: modelado_ro combinado --central NID\n"
    "\n"
    "Crea el modelo combinado con el calibrador de la central y lo guarda como c<NID>.pmc.\n";

const char* const kAyudaCurvas =
    "Uso: modelado_ro curvas --central NID [--dir GRADOS]\n"
    "\n"
    "Potencias de los modelos teórico, empírico y combinado (c<NID>.pmc) contra la velocidad del\n"
    "viento para una dirección (270), en curvas_MW_PE_MT_<100 dir>.jpg de la carpeta de\n"
    "diagnóstico; escribe también compartivacurvas.xlt.\n";

const char* const kAyudaProcesarMC =
    "Uso: modelado_ro procesar-mc --central NID --desde FECHA --hasta FECHA [--series ARCHIVO]\n"
    "\n"
    "El modelo combinado de la central (c<NID>.pmc) sobre la serie (por omisión\n"
    "c<NID>_series10min.sas) desde el día --desde hasta el comienzo del día --hasta.\n"
    "Fechas DD/MM/AAAA o AAAA-MM-DD.\n";

const char* const kAyudaRestricciones =
    "Uso: modelado_ro restricciones --central NID --desde FECHA --hasta FECHA [--series ARCHIVO]\n"
    "\n"
    "Energía no suministrada en los periodos de restricción operativa de la serie (por omisión\n"
    "c<NID>_series10min.sas) desde el día --desde hasta el día --hasta incluido, con el modelo\n"
    "combinado de la central; escribe c<NID>_Restricciones_horarias.xlt. Fechas DD/MM/AAAA o\n"
    "AAAA-MM-DD.\n";

const char* const kAyudaCrearSuper =
    "Uso: modelado_ro crear-supercentral --centrales NID;NID;... --anemo NID [--inf PCT]\n"
    "                                    [--sup PCT]\n"
    "\n"
    "Crea (o carga) en la base de datos el modelo de la supercentral que une las centrales, con\n"
    "la estación de la central --anemo, y su calibrador con la serie que debe estar ya en la\n"
    "carpeta de la supercentral.\n";

const char* const kAyudaBorrarSuper =
    "Uso: modelado_ro borrar-supercentral --supercentral NID --si\n"
    "\n"
    "Borra de la base de datos los modelos de la supercentral; sin --si no borra nada.\n";

// Options that take a value, and switches.
const char* const kConValor[] = {
    "--inf",      "--sup",       "--clp",        "--semilla",      "--desde",  "--hasta",
    "--series",   "--centrales", "--anemo",      "--supercentral", "--raiz",   "--basura",
    "--pasarela", "--dir",       "--vel",        "--alfa",         "--gamma",  "--fpv3pe",
    "--perdidas", "--limite",    "--etha-meteo", "--etha-molino",  "--molino", "--mapa",
    "--ancho",    "--alto",      "--potencia",   "--central",      "--pmt"};
const char* const kInterruptores[] = {"--demo", "--todos", "--help", "--si"};

struct TLinea {
  std::string comando;
  std::map<std::string, std::string> valores;
  std::map<std::string, bool> interruptores;

  [[nodiscard]] bool Tiene(const std::string& o) const { return valores.count(o) > 0; }
  [[nodiscard]] const std::string& Valor(const std::string& o) const { return valores.at(o); }
  [[nodiscard]] bool Interruptor(const std::string& o) const { return interruptores.count(o) > 0; }
};

bool EsConValor(const std::string& o) {
  for (const char* c : kConValor) {
    if (o == c) return true;
  }
  return false;
}

bool EsInterruptor(const std::string& o) {
  for (const char* c : kInterruptores) {
    if (o == c) return true;
  }
  return false;
}

TLinea LeerLinea(const std::vector<std::string>& args) {
  TLinea l;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    if (a.rfind("--", 0) != 0) {
      if (!l.comando.empty()) throw ExcepcionUso("argumento de más: '" + a + "'");
      l.comando = a;
      continue;
    }
    std::string valor;
    bool con_igual = false;
    if (const auto igual = a.find('='); igual != std::string::npos) {
      valor = a.substr(igual + 1);
      a.resize(igual);
      con_igual = true;
    }
    if (EsInterruptor(a)) {
      if (con_igual) throw ExcepcionUso("la opción " + a + " no lleva valor");
      l.interruptores[a] = true;
    } else if (EsConValor(a)) {
      if (!con_igual) {
        // No value begins with "--": the next option means the value was left out.
        if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
          throw ExcepcionUso("falta el valor de la opción " + a);
        }
        valor = args[++i];
      }
      l.valores[a] = valor;
    } else {
      throw ExcepcionUso("opción desconocida: " + a);
    }
  }
  return l;
}

// Every command takes the general options and its own.
void SoloEstas(const TLinea& l, const std::vector<std::string>& propias) {
  std::vector<std::string> validas = {"--raiz", "--basura", "--pasarela", "--help"};
  validas.insert(validas.end(), propias.begin(), propias.end());
  auto revisar = [&](const std::string& o) {
    for (const auto& v : validas) {
      if (o == v) return;
    }
    throw ExcepcionUso("la opción " + o + " no corresponde al comando " + l.comando);
  };
  for (const auto& [o, v] : l.valores) revisar(o);
  for (const auto& [o, v] : l.interruptores) revisar(o);
}

// The options of the commands that simulate a model.
std::vector<std::string> OpcionesDeSimulacion(std::vector<std::string> mas) {
  std::vector<std::string> o = {"--central",  "--pmt",    "--demo",       "--dir",
                                "--vel",      "--alfa",   "--gamma",      "--fpv3pe",
                                "--perdidas", "--limite", "--etha-meteo", "--etha-molino",
                                "--molino",   "--todos"};
  o.insert(o.end(), mas.begin(), mas.end());
  return o;
}

std::int32_t EnteroPositivo(const TLinea& l, const std::string& o, std::int32_t def) {
  if (!l.Tiene(o)) return def;
  std::int32_t v = 0;
  if (!TextoAEnteroOk(l.Valor(o), v) || v <= 0) {
    throw ExcepcionUso("valor no válido para " + o + ": '" + l.Valor(o) + "'");
  }
  return v;
}

std::unique_ptr<TDBrosxCon> Conexion(const TLinea& l) {
  if (!l.Tiene("--pasarela")) return TDBrosxCon::CrearDesdeEntorno();
  const TDestinoPasarela d = LeerDestinoPasarela(l.Valor("--pasarela"));
  return std::make_unique<TDBrosxCon>("", d.host, d.port, "/scripts/dovi.php");
}

// The model named on the command line: a central's model in the working folder, a model file or the
// demo farm.
std::unique_ptr<TParque_ModeloTeorico> ModeloDeLaLinea(const TLinea& l) {
  const int fuentes = (l.Tiene("--central") ? 1 : 0) + (l.Tiene("--pmt") ? 1 : 0) +
                      (l.Interruptor("--demo") ? 1 : 0);
  if (fuentes != 1) {
    throw ExcepcionUso(std::string(fuentes == 0 ? "falta el modelo" : "un solo modelo") +
                       ": --central NID, --pmt ARCHIVO o --demo");
  }
  if (l.Interruptor("--demo")) return CrearParqueDemo();
  if (l.Tiene("--pmt")) return TParque_ModeloTeorico::CrearDesdeArchivo(l.Valor("--pmt"));
  const std::int32_t central = TextoAEntero(l.Valor("--central"));
  // Looking for the model must not create the central's folder.
  const std::string carpeta = CarpetaRaiz() + "/c" + IntATexto(central);
  if (!std::filesystem::is_directory(carpeta)) {
    throw Excepcion("No hay un modelo de la central " + IntATexto(central) + " en " +
                    CarpetaRaiz() + " (modelado_ro bajar --central " + IntATexto(central) + ")");
  }
  return TParque_ModeloTeorico::CrearDesdeArchivo(ArchivoModeloTeorico(central));
}

// The model into the state, its parameters into the edits, then the options over them, as a user
// would load a farm and type in the window.
void PrepararEstado(TEstadoAplicacion& estado, const TLinea& l) {
  // A calibrator saved for the central is loaded as the window loads one: its model becomes the
  // current one and brings the empirical figures.
  bool con_calibrador = false;
  if (l.Tiene("--central") && !l.Tiene("--pmt") && !l.Interruptor("--demo")) {
    const std::int32_t central = TextoAEntero(l.Valor("--central"));
    const std::string clp =
        CarpetaRaiz() + "/c" + IntATexto(central) + "/c" + IntATexto(central) + "_calibrador.clp";
    if (std::filesystem::exists(clp)) {
      (void)CargarCalibrador(estado, clp);
      con_calibrador = true;
    }
  }
  if (!con_calibrador) estado.FijarModeloTeorico(ModeloDeLaLinea(l));
  TResultadoComando r;
  MostrarParametrosModelo(estado, r);
  TTextosVentana& t = estado.textos;
  const std::pair<const char*, std::string TTextosVentana::*> campos[] = {
      {"--dir", &TTextosVentana::eDir},
      {"--vel", &TTextosVentana::eVAnemoEntrada},
      {"--alfa", &TTextosVentana::eAlfaTerreno},
      {"--gamma", &TTextosVentana::eGamma_Atmosfera},
      {"--fpv3pe", &TTextosVentana::efpv3pe},
      {"--perdidas", &TTextosVentana::eFactorPerdidasParque},
      {"--limite", &TTextosVentana::eLimiteDePotencia},
      {"--etha-meteo", &TTextosVentana::eEthaMeteo},
      {"--potencia", &TTextosVentana::vientoparapot}};
  for (const auto& [opcion, campo] : campos) {
    if (l.Tiene(opcion)) t.*campo = l.Valor(opcion);
  }
  // The turbine etha, as "Cambiar ro" on the selected turbine or on all of them.
  const bool molino = l.Tiene("--molino");
  const bool todos = l.Interruptor("--todos");
  if (l.Tiene("--etha-molino") != (molino || todos) || (molino && todos)) {
    throw ExcepcionUso("--etha-molino va con --molino NRO o con --todos");
  }
  if (!l.Tiene("--etha-molino")) return;
  t.eEthaMolino = l.Valor("--etha-molino");
  t.cbCambiarTodosLosRo = todos;
  if (molino) {
    const std::int32_t nro = TextoAEntero(l.Valor("--molino"));
    TMolino* elegido = nullptr;
    for (const auto& m : estado.ModeloTeorico()->molinos) {
      if (m->nro == nro && elegido == nullptr) elegido = m.get();
    }
    if (elegido == nullptr) throw Excepcion("No existe el molino número " + IntATexto(nro));
    estado.SeleccionarMolino(elegido);
  }
  (void)btCambiar_roClick(estado);
}

void Mostrar(std::ostream& salida, const char* etiqueta, const std::string& texto) {
  salida << etiqueta << texto << '\n';
}

int Simular(const TLinea& l, std::ostream& salida) {
  SoloEstas(l, OpcionesDeSimulacion({"--mapa", "--ancho", "--alto"}));
  const std::int32_t ancho = EnteroPositivo(l, "--ancho", kAnchoMapa);
  const std::int32_t alto = EnteroPositivo(l, "--alto", kAltoMapa);
  if (!l.Tiene("--mapa") && (l.Tiene("--ancho") || l.Tiene("--alto"))) {
    throw ExcepcionUso("--ancho y --alto van con --mapa");
  }
  TEstadoAplicacion estado(Conexion(l));
  PrepararEstado(estado, l);
  const TResultadoComando r = btCalcularClick(estado);
  const TTextosVentana& t = estado.textos;
  const bool con_calibrador = estado.ModeloEmpirico() != nullptr;
  Mostrar(salida, "Viento libre incidente en la central (m/s): ", t.VientoLibre);
  Mostrar(salida, "Potencia Modelo Teórico [MW]: ", t.ePE_MW_ModeloTeorico);
  Mostrar(salida, "Velocidad E.M. [m/s] reproducida: ", t.eVAnemoResultante);
  if (con_calibrador) {
    Mostrar(salida, "Potencia Modelo Empírico [MW]: ", t.ePE_MW_Representantes);
    Mostrar(salida, "Peso del Modelo Empírico: ", t.eME_Peso);
  }
  if (l.Tiene("--mapa") && r.dibujar_mapas) {
    const auto mapa = DibujarMapaParque(*estado.ModeloTeorico(), ancho, alto);
    mapa->GuardarPNG(l.Valor("--mapa"));
    Mostrar(salida, "Mapa: ", l.Valor("--mapa"));
  }
  return 0;
}

int Viento(const TLinea& l, std::ostream& salida, std::ostream& errores) {
  SoloEstas(l, OpcionesDeSimulacion({"--potencia"}));
  TEstadoAplicacion estado(Conexion(l));
  PrepararEstado(estado, l);
  (void)btCalcularClick(estado);
  const TResultadoComando r = CalcularvientoClick(estado);
  if (!r.mensajes.empty()) {
    for (const auto& m : r.mensajes) errores << m << '\n';
    return 1;
  }
  Mostrar(salida,
          "Viento libre asociado a la potencia generada (m/s): ", estado.textos.VientoDeLaPotMW);
  return 0;
}

int Bajar(const TLinea& l, std::ostream& salida) {
  SoloEstas(l, {"--central"});
  if (!l.Tiene("--central")) throw ExcepcionUso("falta la central: --central NID");
  TEstadoAplicacion estado(Conexion(l));
  estado.textos.eNidCentral = l.Valor("--central");
  (void)btBajarParqueClick(estado, salida);
  return 0;
}

// A progress bar on standard error for long work, redrawn after each progress line the work writes
// on standard output (which still gets every line). With a known number of steps the line's leading
// count gives the fraction (the calibration's reductions); otherwise it counts lines and seconds.
// Only when standard error is a terminal.
class TBarraProgreso : public std::streambuf {
 public:
  TBarraProgreso(std::ostream& salida, std::ostream& errores, std::string etiqueta, int pasos)
      : salida_(salida),
        errores_(errores),
        destino_(salida.rdbuf()),
        etiqueta_(std::move(etiqueta)),
        pasos_(pasos),
        inicio_(std::chrono::steady_clock::now()) {
    activa_ = &errores == &std::cerr && isatty(STDERR_FILENO) != 0;
    if (activa_) salida_.rdbuf(this);
  }
  ~TBarraProgreso() override {
    if (!activa_) return;
    salida_.rdbuf(destino_);
    errores_ << "\r\033[K" << std::flush;
  }
  TBarraProgreso(const TBarraProgreso&) = delete;
  TBarraProgreso& operator=(const TBarraProgreso&) = delete;

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    if (linea_.empty() && dibujada_) {
      errores_ << "\r\033[K" << std::flush;
      dibujada_ = false;
    }
    destino_->sputc(static_cast<char>(c));
    if (c == '\n') {
      destino_->pubsync();
      ++lineas_;
      Dibujar();
      linea_.clear();
    } else {
      linea_ += static_cast<char>(c);
    }
    return c;
  }
  int sync() override { return destino_->pubsync(); }

 private:
  void Dibujar() {
    const auto segundos =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - inicio_)
            .count();
    errores_ << '\r' << etiqueta_ << ' ';
    std::int32_t hecho = 0;
    if (pasos_ > 0 && TextoAEnteroOk(linea_.substr(0, linea_.find(',')), hecho)) {
      constexpr int kAncho = 30;
      const int llenos = std::clamp(hecho * kAncho / pasos_, 0, kAncho);
      errores_ << '[';
      for (int i = 0; i < kAncho; ++i) errores_ << (i < llenos ? '#' : '.');
      errores_ << "] " << IntATexto(hecho) << '/' << IntATexto(pasos_);
    } else {
      errores_ << IntATexto(lineas_) << " líneas";
    }
    errores_ << ", " << IntATexto(static_cast<std::int32_t>(segundos)) << " s" << std::flush;
    dibujada_ = true;
  }

  std::ostream& salida_;
  std::ostream& errores_;
  std::streambuf* destino_;
  std::string etiqueta_;
  int pasos_;
  std::chrono::steady_clock::time_point inicio_;
  bool activa_ = false;
  bool dibujada_ = false;
  std::int32_t lineas_ = 0;
  std::string linea_;
};

// A file of the central's folder that an earlier command wrote, looked up without creating the
// folder; missing, it names the command that writes it.
std::string ArchivoPrevio(std::int32_t central, const std::string& sufijo, const char* comando) {
  const std::string n = IntATexto(central);
  const std::string ruta = CarpetaRaiz() + "/c" + n + "/c" + n + sufijo;
  if (!std::filesystem::exists(ruta)) {
    throw Excepcion("No existe " + ruta + " (modelado_ro " + comando + " --central " + n + ")");
  }
  return ruta;
}

std::int32_t CentralDeLaLinea(const TLinea& l) {
  if (!l.Tiene("--central")) throw ExcepcionUso("falta la central: --central NID");
  return TextoAEntero(l.Valor("--central"));
}

// The S-curve fit range of the command line into the edits.
void RangoAjuste(const TLinea& l, TTextosVentana& t) {
  if (l.Tiene("--inf")) t.PorcentajeAjusteCurvaSinf = l.Valor("--inf");
  if (l.Tiene("--sup")) t.PorcentajeAjusteCurvaSsup = l.Valor("--sup");
}

int Calibrador(const TLinea& l, std::ostream& salida, std::ostream& errores) {
  SoloEstas(l, {"--central", "--inf", "--sup"});
  const std::int32_t central = CentralDeLaLinea(l);
  (void)ArchivoPrevio(central, "_parque_mt.pmt", "bajar");
  TEstadoAplicacion estado(nullptr);
  estado.textos.eNidCentral = IntATexto(central);
  RangoAjuste(l, estado.textos);
  {
    const TBarraProgreso barra(salida, errores, "calibrador", 0);
    (void)btLoadFromArchi_ModeloMTySeriesClick(estado, salida);
  }
  Mostrar(salida, "Calibrador: ", ArchivoCalibrador(central));
  return 0;
}

int Calibrar(const TLinea& l, std::ostream& salida, std::ostream& errores) {
  SoloEstas(l, {"--central", "--clp", "--semilla"});
  if (l.Tiene("--central") == l.Tiene("--clp")) {
    throw ExcepcionUso("un calibrador: --central NID o --clp ARCHIVO");
  }
  TEstadoAplicacion estado(nullptr);
  std::string clp;
  if (l.Tiene("--central")) {
    clp = ArchivoPrevio(CentralDeLaLinea(l), "_calibrador.clp", "calibrador");
    (void)CargarCalibrador(estado, clp);
  } else {
    (void)btCargarCalibradorClick(estado, l.Valor("--clp"));
  }
  estado.Calibrador()->FijarSalida(salida);
  if (l.Tiene("--semilla")) {
    estado.Calibrador()->FijarSemillaAleatoria(
        static_cast<std::uint64_t>(EnteroPositivo(l, "--semilla", 1)));
  }
  {
    const TBarraProgreso barra(salida, errores, "calibrando", 10);
    (void)btCalibrarParqueClick(estado);
  }
  if (!clp.empty()) estado.Calibrador()->GuardarEnArchivo(clp);
  Mostrar(salida, "Error cuadrático de la calibración: ", estado.textos.eErr2Calibrar);
  return 0;
}

int EthaMeteo(const TLinea& l, std::ostream& salida) {
  SoloEstas(l, {"--central"});
  TEstadoAplicacion estado(nullptr);
  const std::int32_t central = CentralDeLaLinea(l);
  (void)CargarCalibrador(estado, ArchivoPrevio(central, "_calibrador.clp", "calibrador"));
  estado.Calibrador()->FijarSalida(salida);
  (void)CalibrarSimpleEthaMeteoClick(estado, salida);
  return 0;
}

int Combinado(const TLinea& l, std::ostream& salida, std::ostream& errores) {
  SoloEstas(l, {"--central"});
  const std::int32_t central = CentralDeLaLinea(l);
  (void)ArchivoPrevio(central, "_calibrador.clp", "calibrador");
  TEstadoAplicacion estado(nullptr);
  estado.textos.eNidCentral = IntATexto(central);
  {
    const TBarraProgreso barra(salida, errores, "modelo combinado", 0);
    (void)btCalcularMCClick(estado, salida);
  }
  Mostrar(salida, "Modelo combinado: ", ArchivoModeloCombinado(central));
  return 0;
}

int Curvas(const TLinea& l, std::ostream& salida) {
  SoloEstas(l, {"--central", "--dir"});
  const std::int32_t central = CentralDeLaLinea(l);
  TEstadoAplicacion estado(nullptr);
  (void)CargarModeloCombinado(estado, ArchivoPrevio(central, ".pmc", "combinado"));
  if (l.Tiene("--dir")) estado.textos.eDir = l.Valor("--dir");
  const TCurvasPotencia c = Button1Click(estado);
  Mostrar(salida, "Curvas: ", c.archivo_jpg);
  Mostrar(salida, "Comparación de curvas: ", ArchivoBasura("compartivacurvas.xlt"));
  return 0;
}

// The dates and the series of the restriction commands.
void Fechas(const TLinea& l, TTextosVentana& t) {
  if (!l.Tiene("--desde") || !l.Tiene("--hasta")) {
    throw ExcepcionUso("faltan las fechas: --desde FECHA --hasta FECHA");
  }
  t.FechaDesde = l.Valor("--desde");
  t.FechaHasta = l.Valor("--hasta");
}

int ProcesarMC(const TLinea& l, std::ostream& salida, std::ostream& errores) {
  SoloEstas(l, {"--central", "--desde", "--hasta", "--series"});
  const std::int32_t central = CentralDeLaLinea(l);
  TEstadoAplicacion estado(Conexion(l));
  Fechas(l, estado.textos);
  (void)LeerFecha(estado.textos.FechaDesde);
  (void)LeerFecha(estado.textos.FechaHasta);
  (void)CargarModeloCombinado(estado, ArchivoPrevio(central, ".pmc", "combinado"));
  TArchivoElegido series;
  if (l.Tiene("--series")) series = l.Valor("--series");
  NReal ens = 0;
  {
    const TBarraProgreso barra(salida, errores, "procesando", 0);
    ens = btProcesarSeriesConMCClick(estado, series, salida);
  }
  Mostrar(salida, "Energía no suministrada [MWh]: ", RealAGeneral(ens));
  Mostrar(salida, "Resultados en: ", CarpetaCentral(central));
  return 0;
}

int Restricciones(const TLinea& l, std::ostream& salida, std::ostream& errores) {
  SoloEstas(l, {"--central", "--desde", "--hasta", "--series"});
  const std::int32_t central = CentralDeLaLinea(l);
  TEstadoAplicacion estado(Conexion(l));
  Fechas(l, estado.textos);
  (void)LeerFecha(estado.textos.FechaDesde);
  (void)LeerFecha(estado.textos.FechaHasta);
  (void)ArchivoPrevio(central, ".pmc", "combinado");
  (void)CargarCalibrador(estado, ArchivoPrevio(central, "_calibrador.clp", "calibrador"));
  const std::string series = l.Tiene("--series")
                                 ? l.Valor("--series")
                                 : ArchivoPrevio(central, "_series10min.sas", "calibrador");
  std::vector<TResumenPeriodo> periodos;
  {
    const TBarraProgreso barra(salida, errores, "restricciones", 0);
    periodos = btProcesarRestriccionesClick(estado, series, salida);
  }
  NReal ens = 0;
  for (const auto& p : periodos) ens += p.energia_scada;
  Mostrar(salida,
          "Periodos de restricción: ", IntATexto(static_cast<std::int32_t>(periodos.size())));
  Mostrar(salida, "Energía no suministrada [MWh]: ", RealAGeneral(ens));
  Mostrar(salida, "Tabla horaria: ",
          CarpetaCentral(central) + "/c" + IntATexto(central) + "_Restricciones_horarias.xlt");
  return 0;
}

int CrearSuper(const TLinea& l, std::ostream& salida, std::ostream& errores) {
  SoloEstas(l, {"--centrales", "--anemo", "--inf", "--sup"});
  if (!l.Tiene("--centrales") || !l.Tiene("--anemo")) {
    throw ExcepcionUso("faltan --centrales NID;NID;... y --anemo NID");
  }
  TEstadoAplicacion estado(Conexion(l));
  estado.textos.NIDcentralesAunir = l.Valor("--centrales");
  estado.textos.NIDcentralAnemo = l.Valor("--anemo");
  RangoAjuste(l, estado.textos);
  {
    const TBarraProgreso barra(salida, errores, "supercentral", 0);
    (void)CrearSupercentralClick(estado, salida);
  }
  const std::int32_t s = estado.ModeloTeorico()->nid_central;
  Mostrar(salida, "Supercentral: ", IntATexto(s));
  Mostrar(salida, "Calibrador: ", ArchivoCalibrador(s));
  return 0;
}

int BorrarSuper(const TLinea& l, std::ostream& salida, std::ostream& errores) {
  SoloEstas(l, {"--supercentral", "--si"});
  if (!l.Tiene("--supercentral")) throw ExcepcionUso("falta --supercentral NID");
  TEstadoAplicacion estado(Conexion(l));
  estado.textos.NIDsupercentralBorrar = l.Valor("--supercentral");
  bool preguntado = false;
  const TResultadoComando r =
      BorrarSupercentralClick(estado, [&](const std::string&, const std::string& texto) {
        preguntado = true;
        if (!l.Interruptor("--si")) errores << texto << " No (confirme con --si)\n";
        return l.Interruptor("--si");
      });
  for (const auto& m : r.mensajes) salida << m << '\n';
  // A refusal or an unconfirmed deletion is not a success.
  const bool borrada =
      !r.mensajes.empty() && r.mensajes[0].find("ha sido borrada") != std::string::npos;
  return borrada ? 0 : 1;
}
}  // namespace

int ModeladoRO(const std::vector<std::string>& args, std::ostream& salida, std::ostream& errores) {
  try {
    const TLinea l = LeerLinea(args);
    const bool ayuda = l.Interruptor("--help");
    if (l.comando.empty()) {
      if (!ayuda) throw ExcepcionUso("falta el comando");
      salida << kAyudaGeneral;
      return 0;
    }
    struct TComando {
      const char* nombre;
      std::string ayuda;
    };
    const TComando comandos[] = {
        {"simular", std::string(kAyudaSimular) + kAyudaModelo + kAyudaSimularMapa},
        {"viento", std::string(kAyudaViento) + kAyudaModelo},
        {"bajar", kAyudaBajar},
        {"calibrador", kAyudaCalibrador},
        {"calibrar", kAyudaCalibrar},
        {"etha-meteo", kAyudaEthaMeteo},
        {"combinado", kAyudaCombinado},
        {"curvas", kAyudaCurvas},
        {"procesar-mc", kAyudaProcesarMC},
        {"restricciones", kAyudaRestricciones},
        {"crear-supercentral", kAyudaCrearSuper},
        {"borrar-supercentral", kAyudaBorrarSuper}};
    const TComando* comando = nullptr;
    for (const TComando& c : comandos) {
      if (l.comando == c.nombre) comando = &c;
    }
    if (comando == nullptr) throw ExcepcionUso("comando desconocido: " + l.comando);
    if (ayuda) {
      salida << comando->ayuda;
      return 0;
    }
    if (l.Tiene("--raiz")) FijarCarpetaRaiz(l.Valor("--raiz"));
    if (l.Tiene("--basura")) FijarCarpetaBasura(l.Valor("--basura"));
    IniciarCarpetaRaiz();
    const std::string& c = l.comando;
    if (c == "simular") return Simular(l, salida);
    if (c == "bajar") return Bajar(l, salida);
    if (c == "viento") return Viento(l, salida, errores);
    if (c == "calibrador") return Calibrador(l, salida, errores);
    if (c == "calibrar") return Calibrar(l, salida, errores);
    if (c == "etha-meteo") return EthaMeteo(l, salida);
    if (c == "combinado") return Combinado(l, salida, errores);
    if (c == "curvas") return Curvas(l, salida);
    if (c == "procesar-mc") return ProcesarMC(l, salida, errores);
    if (c == "restricciones") return Restricciones(l, salida, errores);
    if (c == "crear-supercentral") return CrearSuper(l, salida, errores);
    return BorrarSuper(l, salida, errores);
  } catch (const ExcepcionUso& e) {
    errores << "modelado_ro: " << e.what() << " (modelado_ro --help)\n";
    return 2;
  } catch (const std::exception& e) {
    errores << "modelado_ro: " << e.what() << '\n';
    return 1;
  }
}
