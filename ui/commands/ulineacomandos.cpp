#include "ulineacomandos.h"

#include <cstdint>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <utility>

#include "carpetas.h"
#include "errores.h"
#include "numtext.h"
#include "ucomandos_modeloteorico.h"
#include "umapaparque.h"
#include "uparquedemo.h"
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

// Options that take a value, and switches.
const char* const kConValor[] = {
    "--raiz",   "--basura",   "--pasarela", "--dir",        "--vel",         "--alfa",   "--gamma",
    "--fpv3pe", "--perdidas", "--limite",   "--etha-meteo", "--etha-molino", "--molino", "--mapa",
    "--ancho",  "--alto",     "--potencia", "--central",    "--pmt"};
const char* const kInterruptores[] = {"--demo", "--todos", "--help"};

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
  estado.FijarModeloTeorico(ModeloDeLaLinea(l));
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
  Mostrar(salida, "Viento libre incidente en la central (m/s): ", t.VientoLibre);
  Mostrar(salida, "Potencia Modelo Teórico [MW]: ", t.ePE_MW_ModeloTeorico);
  Mostrar(salida, "Velocidad E.M. [m/s] reproducida: ", t.eVAnemoResultante);
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
    if (l.comando != "simular" && l.comando != "viento" && l.comando != "bajar") {
      throw ExcepcionUso("comando desconocido: " + l.comando);
    }
    if (ayuda) {
      if (l.comando == "simular") {
        salida << kAyudaSimular << kAyudaModelo << kAyudaSimularMapa;
      } else if (l.comando == "bajar") {
        salida << kAyudaBajar;
      } else {
        salida << kAyudaViento << kAyudaModelo;
      }
      return 0;
    }
    if (l.Tiene("--raiz")) FijarCarpetaRaiz(l.Valor("--raiz"));
    if (l.Tiene("--basura")) FijarCarpetaBasura(l.Valor("--basura"));
    IniciarCarpetaRaiz();
    if (l.comando == "simular") return Simular(l, salida);
    if (l.comando == "bajar") return Bajar(l, salida);
    return Viento(l, salida, errores);
  } catch (const ExcepcionUso& e) {
    errores << "modelado_ro: " << e.what() << " (modelado_ro --help)\n";
    return 2;
  } catch (const std::exception& e) {
    errores << "modelado_ro: " << e.what() << '\n';
    return 1;
  }
}
