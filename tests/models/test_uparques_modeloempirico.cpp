#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ayuda_empirico.h"
#include "carpetas.h"
#include "fechas.h"
#include "formatos.h"
#include "math01.h"
#include "numtext.h"
#include "ucurvasaeros.h"
#include "ugeneradorseries.h"
#include "ugraficador.h"
#include "uparques_modeloempirico.h"

namespace fs = std::filesystem;

namespace {

using testing::StrEq;
using testing::ThrowsMessage;

// One sample of the nine series.
struct TMuestra {
  double vel, ang, pe;
  double temp = 15, pre = 1013, hum = 50, cgm = 20, fdisp = 1, extra = 0;
};

// A ".sas" file of the given samples starting 07:00 with the given period text.
void EscribirSas(const fs::path& ruta, const std::vector<TMuestra>& m,
                 const std::string& periodo = "1/6", int nseries = 9) {
  std::ofstream f(ruta, std::ios::binary);
  f << nseries << "\n2015 3 5 7 0 0\n" << periodo << "\n" << m.size() << "\n144\n";
  for (int j = 1; j <= nseries; ++j) f << "s" << j << " ";
  f << "\n";
  int k = 0;
  for (const TMuestra& s : m) {
    const double v[] = {s.vel, s.ang, s.pe, s.temp, s.pre, s.hum, s.cgm, s.fdisp, s.extra};
    f << ++k;
    for (int j = 0; j < nseries; ++j) f << ' ' << RealANotacionArchivo(v[j]);
    f << '\n';
  }
}

// Working and diagnostic folders of one test, removed at its end.
class Carpetas {
 public:
  explicit Carpetas(const std::string& nombre) : dir(ayuda::CarpetaTemporal(nombre)) {
    FijarCarpetaRaiz((dir / "raiz").generic_string());
    fs::create_directories(dir / "raiz");
    FijarCarpetaBasura((dir / "basura").generic_string());
  }
  ~Carpetas() { fs::remove_all(dir); }
  [[nodiscard]] fs::path Central() const { return dir / "raiz" / "c8"; }
  fs::path dir;
};

// Samples spread over speeds 4..12 m/s around one direction, the power on a rough S curve.
std::vector<TMuestra> Rafaga(int n, double ang) {
  std::vector<TMuestra> m;
  for (int i = 0; i < n; ++i) {
    const double v = 4 + 8.0 * i / n;
    m.push_back({v, ang + 0.01 * (i % 7), 20 / (1 + std::exp(-0.8 * (v - 9)))});
  }
  return m;
}

std::shared_ptr<TParque_ModeloTeorico> Parque10() { return ayuda::Parque(10, 20); }

TEST(TParqueModeloEmpirico, PeriodoDeDiezMinutos) {
  Carpetas c("periodo");
  const fs::path ruta = c.dir / "s.sas";
  EscribirSas(ruta, Rafaga(40, 90), "1");
  std::ostringstream salida;
  EXPECT_THAT(
      [&] {
        TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 5, 95, salida,
                                                 false);
      },
      ThrowsMessage<Excepcion>(StrEq("ERROR en archivo series, Perioedo Entre Muestras : "
                                     "1 debe ser 0.16666667163372")));
  // Ten minutes and half a second is accepted and becomes exactly 1/144 of a day.
  EscribirSas(ruta, Rafaga(40, 90), "600.5/3600");
  auto m = TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 5, 95,
                                                    salida, false);
  EXPECT_EQ(m->dt, 1.0 / 144);
  EXPECT_EQ(m->tiempos.elemento(3), m->fecha_inicio + 2.0 / 144);
  EXPECT_THAT(salida.str(), testing::HasSubstr("Filtrado de huecos: 0\n"));
  EXPECT_THAT(salida.str(), testing::HasSubstr("\nFin err2CurvasS: "));
}

TEST(TParqueModeloEmpirico, ArchivosQueNoSirven) {
  Carpetas c("no_sirven");
  const fs::path ruta = c.dir / "s.sas";
  std::ostringstream salida;
  EscribirSas(ruta, Rafaga(40, 90), "1/6", 8);
  EXPECT_THAT(
      [&] {
        TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 5, 95, salida,
                                                 false);
      },
      ThrowsMessage<Excepcion>(
          StrEq("ERROR en archivo series: tiene 8 series y se necesitan al menos 9")));
  EscribirSas(ruta, {});
  EXPECT_THAT(
      [&] {
        TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 5, 95, salida,
                                                 false);
      },
      ThrowsMessage<Excepcion>(StrEq("ERROR en archivo series: no tiene muestras")));
  EXPECT_EQ(NivelFormatosNeutros(), 0);
}

TEST(TParqueModeloEmpirico, VentanasDeSector) {
  Carpetas c("ventanas");
  const fs::path ruta = c.dir / "s.sas";
  std::vector<TMuestra> m = Rafaga(30, 359);           // in sector 1 (1 degree), not 72 (4 degrees)
  for (TMuestra& s : Rafaga(30, 2.5)) m.push_back(s);  // in sectors 1 and 2
  for (TMuestra& s : Rafaga(30, -177.5)) m.push_back(s);  // 182.5 degrees: sectors 37 and 38
  EscribirSas(ruta, m);
  std::ostringstream salida;
  auto e = TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 5, 95,
                                                    salida, false);
  ASSERT_EQ(e->NSectores(), 72);
  auto n = [&](int s) { return e->clusters[static_cast<std::size_t>(s - 1)].pv3.n(); };
  EXPECT_EQ(n(72), 0);
  EXPECT_EQ(n(3), 0);
  EXPECT_GT(n(1), n(2));
  EXPECT_GT(n(2), 20);
  EXPECT_GT(n(37), 20);
  EXPECT_EQ(n(37), n(38));
  EXPECT_EQ(n(36) + n(39), 0);
}

// A model read from a hand-written block: 72 sectors, 10 bins with centres 1..10 (pv3 units),
// lines F0 = 10 * b in every sector, slope 10; sector 2 has too few samples in bin 1.
std::unique_ptr<TParque_ModeloEmpirico> ModeloDeTexto(std::shared_ptr<TParque_ModeloTeorico> mt) {
  TVectR bordes(11);
  for (int b = 1; b <= 11; ++b) bordes.poner(b, b - 0.5);
  TVectR medio(10);
  for (int b = 1; b <= 10; ++b) medio.poner(b, b);
  TMatR cnt(72, 10), a0(72, 10), a1(72, 10), f0(72, 10);
  for (int s = 1; s <= 72; ++s) {
    for (int b = 1; b <= 10; ++b) {
      cnt.poner(s, b, s == 2 && b == 1 ? 5 : 100);
      a1.poner(s, b, 10);
      f0.poner(s, b, 10.0 * b);
    }
  }
  TVectR alfa(72), vm(72);
  for (int s = 1; s <= 72; ++s) {
    alfa.poner(s, 0.8);
    vm.poner(s, 9);
  }
  std::stringstream t;
  bordes.guardar(t);
  cnt.guardar(t);
  a0.guardar(t);
  a1.guardar(t);
  medio.guardar(t);
  f0.guardar(t);
  alfa.guardar(t);
  vm.guardar(t);
  return TParque_ModeloEmpirico::CrearDesdeTexto(t, std::move(mt));
}

TEST(TParqueModeloEmpirico, PesosSector) {
  auto e = ModeloDeTexto(Parque10());
  struct Caso {
    double ang;
    int k1, k2;
    double w2;
  };
  const Caso casos[] = {{7.5, 2, 3, 0.5}, {357.5, 72, 1, 0.5}, {360, 1, 2, 0},
                        {0, 1, 2, 0},     {-2.5, 72, 1, 0.5},  {722.5, 1, 2, 0.5}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.ang);
    int k1 = 0, k2 = 0;
    double w1 = 0, w2 = 0;
    e->PesosSector(c.ang, k1, k2, w1, w2);
    EXPECT_EQ(k1, c.k1);
    EXPECT_EQ(k2, c.k2);
    EXPECT_DOUBLE_EQ(w2, c.w2);
    EXPECT_DOUBLE_EQ(w1, 1 - c.w2);
  }
  EXPECT_EQ(e->AnguloSector(24), 115);
  for (int s = 1; s <= 72; ++s) EXPECT_EQ(e->AnguloSector(s), 5.0 * (s - 1));
}

TEST(TParqueModeloEmpirico, PotenciaBinada) {
  auto e = ModeloDeTexto(Parque10());
  struct Caso {
    const char* nombre;
    double pv3, ang, potencia, peso;
  };
  const Caso casos[] = {
      // Below the first centre the first bin's line is extended: 10 + 10 * (0.5 - 1).
      {"bajo el primer centro", 0.5, 0, 5, 100},
      {"sobre un centro", 4, 10, 40, 100},
      {"entre centros", 4.5, 10, 45, 100},
      {"mas alla del ultimo", 12, 10, 120, 100},
      // Sector 2 (5 degrees) has 5 samples in bin 1; on sector 1's centre its weight is 0.
      {"vecino sin muestras con peso 0", 0.5, 0, 5, 100},
      {"vecino sin muestras con peso", 0.5, 2.5, 0, -1},
      {"sector sin muestras", 0.5, 5, 0, -1},
      {"bin sin muestras entre centros", 1.5, 5, 0, -1},
      {"bin sin muestras en el centro siguiente", 2, 5, 20, 100},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    double peso = 0;
    EXPECT_NEAR(e->PotenciaBinada(1.225, c.pv3, c.ang, peso), c.potencia, 1e-12);
    EXPECT_NEAR(peso, c.peso, 1e-12);
  }
  // No cap at the authorised power (20 MW).
  double peso = 0;
  EXPECT_GT(e->PotenciaBinada(1.225, 9, 0, peso), 20);
}

TEST(TParqueModeloEmpirico, PotenciaCurvaSNoPasaPAut) {
  auto mt = Parque10();
  auto e = ModeloDeTexto(mt);
  const double pmax = mt->curva_parque->P_max;
  // At the centre speed the curve gives half of Pmax; far above it the authorised power.
  EXPECT_NEAR(e->PotenciaCurvaS(1.225, PV3(9, 1.225), 40), pmax / 2, 1e-9);
  EXPECT_EQ(e->PotenciaCurvaS(1.3, PV3(30, 1.3), 40), 20);
}

TEST(TParqueModeloEmpirico, TextoIdaYVuelta) {
  auto mt = Parque10();
  auto e = ModeloDeTexto(mt);
  std::stringstream a;
  e->EscribirTexto(a);
  auto f = TParque_ModeloEmpirico::CrearDesdeTexto(a, mt);
  std::stringstream b;
  f->EscribirTexto(b);
  EXPECT_EQ(a.str(), b.str());
  EXPECT_EQ(f->NBins(), 10);
  EXPECT_EQ(f->datos, nullptr);
  std::stringstream corto("3\r\n1\r\n2\r\n3\r\n");
  EXPECT_THROW(TParque_ModeloEmpirico::CrearDesdeTexto(corto, mt), ExcepcionES);
  EXPECT_EQ(NivelFormatosNeutros(), 0);
}

TEST(TParqueModeloEmpirico, CompletaSectorEntreVecinos) {
  // Sectors 10 and 12 known (0.5 and 0.7), sector 11 empty: the first sweep gives it 0.6 and it
  // keeps it, its neighbours being fixed.
  TMatR conocido(72, 1);
  conocido.poner(10, 1, 0.5);
  conocido.poner(12, 1, 0.7);
  conocido.poner(30, 1, -1);  // a failed fit counts as empty
  TMatR completo(72, 1);
  double cambio = 0;
  int barridos = 0;
  std::ostringstream salida;
  RellenarHuecos(completo, conocido, cambio, barridos, salida);
  EXPECT_DOUBLE_EQ(completo.elemento(11, 1), 0.6);
  EXPECT_EQ(completo.elemento(10, 1), 0.5);
  EXPECT_GT(completo.elemento(30, 1), 0.5);
  EXPECT_THAT(salida.str(), testing::StartsWith("cnt_iter: 0, epsilon: "));
}

TEST(TParqueModeloEmpirico, GraficosYTablasDeSalida) {
  Carpetas c("salidas");
  const fs::path ruta = c.dir / "s.sas";
  std::vector<TMuestra> m = Rafaga(40, 0);             // 0 and 5 degree sectors
  for (TMuestra& s : Rafaga(40, 115)) m.push_back(s);  // 115 degrees
  std::vector<TMuestra> tres = Rafaga(3, 200);
  std::vector<TMuestra> cuatro = Rafaga(4, 250);
  m.insert(m.end(), tres.begin(), tres.end());
  m.insert(m.end(), cuatro.begin(), cuatro.end());
  for (std::size_t i = 0; i < 40; i += 2) m[i].ang = 2.9 + 0.001 * static_cast<double>(i);
  EscribirSas(ruta, m);
  std::ostringstream salida;
  auto e = TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 5, 95,
                                                    salida, true);
  for (const char* f :
       {"0_1_0.jpg", "500_1_0.jpg", "500_2_0.jpg", "11500_1_0.jpg", "25000_1_0.jpg",
        "curvas_s_.xlt", "curvas_s_completadas_.xlt", "series_filtradas.xlt",
        "muestras_filtrados_plano_pe_vel_0.jpg", "muestras_filtrados_plano_dir_vel_0.jpg"}) {
    SCOPED_TRACE(f);
    EXPECT_TRUE(fs::exists(c.Central() / f));
  }
  EXPECT_FALSE(fs::exists(c.Central() / "20000_1_0.jpg"));  // a cluster of 3 samples
  EXPECT_FALSE(fs::exists(c.Central() / "1000_1_0.jpg"));   // empty
  std::ifstream t(c.Central() / "curvas_s_.xlt", std::ios::binary);
  std::string linea;
  std::getline(t, linea);
  EXPECT_EQ(linea, "ang\talfa\tvm\terrc2\tcntMuestras\tMT_alfa\tMT_vm\r");
  std::getline(t, linea);
  EXPECT_THAT(linea, testing::StartsWith(" 0.0000000000000000E+000\t"));
  // The diagnostic table of the last fit lands in the diagnostics folder.
  std::ifstream d(c.dir / "basura" / "curva_s.xlt", std::ios::binary);
  std::getline(d, linea);
  EXPECT_EQ(linea, "x\ty\ts\r");
}

TEST(TParqueModeloEmpirico, GraficoDeSectorDeDia) {
  // 40 samples from 07:00 on: all of the day, so the night series are empty but present.
  Carpetas c("grafico_sector");
  const fs::path ruta = c.dir / "s.sas";
  EscribirSas(ruta, Rafaga(40, 90));
  std::ostringstream salida;
  auto e = TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 5, 95,
                                                    salida, false);
  const auto g = e->GraficoSector(19);
  EXPECT_EQ(g->nombre, "gfiltrados_pv");
  EXPECT_EQ(g->titulo, "Muestras cluster ang: 90.0°");
  EXPECT_EQ(g->tipoDefecto, 2);
  EXPECT_EQ(g->ejeX->formatoNum, 1);
  EXPECT_EQ(g->ejeY->maxUsuario, 30);  // trunc(20 / 10 + 1) * 10
  EXPECT_FALSE(g->ejeY->autoMax);
  struct Esperada {
    const char* x;
    const char* y;
    TColor linea, marca;
    int tam, ancho;
    bool derecho;
  };
  constexpr TColor rojo = ColorRGB(255, 0, 0);
  const Esperada esperadas[] = {
      {"Pv3_7a19hs", "PE_muestras_7a19hs", ninguno, ColorRGB(0, 0, 255), 2, 1, false},
      {"Pv3_20a6hs", "PE_muestras_20a6hs", ninguno, ColorRGB(0, 0, 0), 2, 1, false},
      {"Pv3Medio", "F0_s", ninguno, rojo, 6, 2, false},
      {"Pv3_Hermit", "PE_Curva_s", rojo, rojo, 0, 1, false},
      {"Pv3Medio", "Peso", ninguno, ColorRGB(255, 0, 255), 3, 1, true},
      {"Pv3Medio", "F0", ninguno, rojo, 3, 2, false},
  };
  ASSERT_EQ(g->series.size(), 6U);
  EXPECT_EQ(g->seriesX.size(), 5U);  // "Peso" and "F0" share their abscissa
  for (std::size_t i = 0; i < 6; ++i) {
    const Esperada& x = esperadas[i];
    const TSerieGrafico& s = *g->series[i];
    SCOPED_TRACE(x.y);
    EXPECT_EQ(s.nombre, x.y);
    ASSERT_NE(s.serieX, nullptr);
    EXPECT_EQ(s.serieX->nombre, x.x);
    EXPECT_EQ(s.serieX->formato, "##.##");
    EXPECT_EQ(s.colorLinea, x.linea);
    EXPECT_EQ(s.colorMarca, x.marca);
    EXPECT_EQ(s.tamMarca, x.tam);
    EXPECT_EQ(s.anchoLinea, x.ancho);
    EXPECT_EQ(s.ejeDerecho, x.derecho);
  }
  EXPECT_EQ(g->series[0]->valores.size(), static_cast<std::size_t>(e->clusters[18].pv3.n()));
  EXPECT_TRUE(g->series[1]->valores.empty());
  EXPECT_TRUE(g->series[1]->serieX->valores.empty());
  EXPECT_EQ(g->series[3]->valores.size(), 100U);
  ASSERT_EQ(g->cajas.size(), 11U);
  EXPECT_EQ(g->cajas[10]->x1, e->pv3_bordes.elemento(11));
  EXPECT_EQ(g->cajas[10]->x2, e->pv3_bordes.elemento(11) + 0.000005);
  EXPECT_EQ(g->cajas[10]->y2, 30);
  EXPECT_EQ(g->cajas[10]->texto, "");
}

TEST(TParqueModeloEmpirico, CorteDiaNocheEnLaHoraExacta) {
  // Instants computed as start + (k - 1) * dt: every sample from 07:00 to 19:50 is of the day,
  // for series starting at midnight and at 00:10.
  for (const double desplazamiento : {0.0, 1.0}) {
    const double t0 = CodificarFecha(2015, 3, 5) + desplazamiento / 144;
    for (int k = 1; k <= 144 * 3; ++k) {
      const double t = t0 + (k - 1) * (1.0 / 144);
      const int paso = (k - 1 + static_cast<int>(desplazamiento)) % 144;  // 10-minute step of day
      SCOPED_TRACE(testing::Message() << "k=" << k << " desde " << desplazamiento);
      EXPECT_EQ(EsMuestraDeDia(t), paso >= 42 && paso < 120);
    }
  }
}

TEST(TParqueModeloEmpirico, DiagnosticoQueNoSeEscribeNoAfectaAlAjuste) {
  Carpetas c("diagnostico");
  const fs::path ruta = c.dir / "s.sas";
  EscribirSas(ruta, Rafaga(80, 90));
  std::ostringstream con;
  auto a = TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 5, 95, con,
                                                    false);
  // A diagnostics folder that cannot be created: one warning per fit, the same curves.
  std::ofstream(c.dir / "fichero") << "x";
  FijarCarpetaBasura((c.dir / "fichero" / "basura").generic_string());
  std::ostringstream sin;
  auto b = TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 5, 95, sin,
                                                    false);
  EXPECT_THAT(sin.str(),
              testing::HasSubstr("No se pudo escribir la tabla de diagnóstico de la curva S: "));
  for (int s = 1; s <= 72; ++s) {
    EXPECT_EQ(a->alfa.elemento(s), b->alfa.elemento(s));
    EXPECT_EQ(a->vm.elemento(s), b->vm.elemento(s));
  }
  EXPECT_GT(a->alfa.elemento(19), 0);
}

TEST(TParqueModeloEmpirico, PotenciaTopeFueraDelAjusteS) {
  // With pct_sup 100 the samples at or above Pmax (20 MW) are left out instead of failing.
  Carpetas c("tope");
  const fs::path ruta = c.dir / "s.sas";
  std::vector<TMuestra> m = Rafaga(80, 90);
  for (std::size_t i = 60; i < m.size(); ++i) m[i].pe = 20 + 0.001 * static_cast<double>(i);
  EscribirSas(ruta, m);
  std::ostringstream salida;
  auto e = TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 0, 100,
                                                    salida, false);
  const TVectR& pe = e->clusters[18].pe;
  int bajo_pmax = 0;
  for (int i = 1; i <= pe.n(); ++i) bajo_pmax += pe.elemento(i) < 20 ? 1 : 0;
  EXPECT_LT(bajo_pmax, pe.n());
  EXPECT_EQ(e->cntMuestras.elemento(19), bajo_pmax);
  EXPECT_TRUE(std::isfinite(e->alfa.elemento(19)));
  EXPECT_GT(e->alfa.elemento(19), 0);
}

TEST(TParqueModeloEmpirico, TramoSingularTerminaLaConstruccion) {
  // The two fastest samples, alone in the top bin, share one speed (and air): the bin's line has
  // no solution.
  Carpetas c("singular");
  const fs::path ruta = c.dir / "s.sas";
  std::vector<TMuestra> m = Rafaga(40, 90);
  for (std::size_t i = 34; i < 38; ++i) m[i].vel = 10 + 0.05 * static_cast<double>(i - 34);
  m[38].vel = m[39].vel = 11.8;
  EscribirSas(ruta, m);
  std::ostringstream salida;
  EXPECT_THAT(
      [&] {
        TParque_ModeloEmpirico::CrearDesdeSeries(Parque10(), ruta.generic_string(), 5, 95, salida,
                                                 false);
      },
      ThrowsMessage<Excepcion>(
          StrEq("Atención!!!! sistema lineal no invertible en la aproximación de un tramo!!!")));
}

TEST(TParqueModeloEmpirico, AnioGeneradoRecuperaElModelo) {
  Carpetas c("anio");
  auto mt = Parque10();
  const TTablaPotencia tabla(*mt, 12, 1.0);  // coarse: cheap under the sanitizers
  TOpcionesGenerador o;
  o.semilla = 7;
  o.huecos = o.trabados = o.disponibilidad = o.consignas = true;
  const fs::path ruta = c.dir / "c8_series10min.sas";
  GenerarSeries(tabla, *mt, o, ruta.generic_string());
  std::ostringstream salida;
  auto e =
      TParque_ModeloEmpirico::CrearDesdeSeries(mt, ruta.generic_string(), 5, 95, salida, false);
  EXPECT_EQ(e->n_muestras, 52560);
  // Every kind of defect was generated and caught.
  for (const TDAOfBoolean* f : {&e->filtros.Filt_Huecos, &e->filtros.Filt_Coherencia,
                                &e->filtros.Filt_Disponibilidad, &e->filtros.Filt_CGM}) {
    EXPECT_GT(std::count(f->begin(), f->end(), true), 50);
  }
  // In every well-sampled sector the S curve follows the generating model within 8 % of the
  // authorised power over the rising part of the curve (the worst point is about 6 %: a logistic
  // curve is not the farm's curve).
  int bien = 0;
  for (int s = 1; s <= 72; ++s) {
    if (e->cntMuestras.elemento(s) < 300) continue;
    ++bien;
    const double ang = e->AnguloSector(s);
    for (const double v : {6.0, 8.0, 10.0, 12.0}) {
      SCOPED_TRACE(testing::Message() << "sector " << s << " v " << v);
      EXPECT_NEAR(e->PotenciaCurvaS(1.225, PV3(v, 1.225), ang), tabla.Potencia(ang, v), 1.6);
    }
  }
  EXPECT_GT(bien, 36);
}

}  // namespace
