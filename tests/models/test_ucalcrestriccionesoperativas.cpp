#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ayuda_calibrador.h"
#include "errores.h"
#include "fechas.h"
#include "formatos.h"
#include "numtext.h"
#include "pasarela_prueba.h"
#include "ucalcrestriccionesoperativas.h"
#include "ucurvasaeros.h"
#include "uparques_modelocombinado.h"
#include "useriestemporales.h"

namespace fs = std::filesystem;

namespace {

using testing::HasSubstr;
using testing::StartsWith;
using testing::StrEq;
using testing::ThrowsMessage;

double Real(std::string s) {
  while (!s.empty() && s.front() == ' ') s.erase(0, 1);
  return TextoARealArchivo(s);
}

struct TMuestra {
  double v = 8, dir = 250, P = 0, CGM = 20;
  bool hueco = false;
};

// A ".sas" file of 10-minute samples from `inicio` (temperature, pressure and humidity constant).
void EscribirSerie(const fs::path& ruta, const TFechaHoraPartes& inicio,
                   const std::vector<TMuestra>& m) {
  const TFormatosNeutros neutros;
  std::string t = "VERSION_FORMATO_SERIES 1\r\n9\r\n";
  t += IntATexto(inicio.anio) + " " + IntATexto(inicio.mes) + " " + IntATexto(inicio.dia) + " " +
       IntATexto(inicio.hora) + " " + IntATexto(inicio.minuto) + " 0\r\n1/6\r\n" +
       IntATexto(std::ssize(m)) + "\r\n144\r\n.........\r\n";
  t += "Vel Ang PE Temp Pre HumRel CGM fDisp Extra\r\n";
  for (std::size_t k = 0; k < m.size(); ++k) {
    const TMuestra& x = m[k];
    t += IntATexto(static_cast<std::int64_t>(k) + 1);
    for (const double y : {x.v, x.dir, x.P, 15.0, 1013.0, 70.0, x.CGM, 1.0, 0.0}) {
      t += ' ';
      t += x.hueco ? std::string("-9999") : RealANotacionArchivo(y);
    }
    t += "\r\n";
  }
  ayuda::EscribirArchivo(ruta, t);
}

// Lines of a sample table split into fields.
std::vector<std::vector<std::string>> Tabla(const fs::path& ruta) {
  std::vector<std::vector<std::string>> r;
  for (const std::string& l : ayuda::Partir(ayuda::LeerArchivo(ruta), "\r\n"))
    r.push_back(ayuda::Partir(l, "\t"));
  return r;
}

TFechaHora Instante(int anio, int mes, int dia, int hora, int minuto) {
  return CodificarFecha(anio, mes, dia) + CodificarHora(hora, minuto, 0);
}

// ---------------------------------------------------------------------------------------------
// Period search, sample index, hourly buckets and the hourly table.

class Series : public testing::Test {
 protected:
  // Samples from 2015-03-05 00:00 with the given set-points.
  TSeriesDeDatos Serie(const std::vector<double>& cgm) {
    std::vector<TMuestra> m(cgm.size());
    for (std::size_t k = 0; k < cgm.size(); ++k) {
      m[k].CGM = cgm[k];
      m[k].v = 6 + 0.01 * static_cast<double>(k);
    }
    EscribirSerie(ruta_, {2015, 3, 5, 0, 0}, m);
    return LeerSeriesRestricciones(ruta_.generic_string());
  }
  ayuda::CarpetasPrueba carpetas_{"restr_series"};
  fs::path ruta_ = carpetas_.dir / "serie.sas";
};

TEST_F(Series, PeriodosDeRestriccion) {
  const TFechaHora t0 = CodificarFecha(2015, 3, 5);
  const double dt = 1.0 / 144;
  struct Caso {
    std::string nombre;
    std::vector<double> cgm;
    int desde, hasta;                           // sample indices of the range asked for
    std::vector<std::pair<int, int>> periodos;  // indices of inicio and fin
  };
  const std::vector<Caso> casos = {
      {"umbral exacto", {20, 19.5, 19.5, 20, 19.4, 19.4, 19.5, 19.6, 20}, 1, 9, {{5, 8}}},
      {"faltantes dentro", {20, 10, -1, -5, 10, 20, 20}, 1, 7, {{2, 6}}},
      {"faltante no inicia", {-1, -1, 20, 10, 20}, 1, 5, {{4, 5}}},
      {"dos periodos", {10, 20, 20, 12, 12, 20}, 1, 6, {{1, 2}, {4, 6}}},
      {"sigue pasado hasta", {20, 10, 10, 10, 10, 20}, 1, 3, {{2, 6}}},
      {"sin fin", {20, 20, 10, 10}, 1, 4, {{3, 5}}},
      {"empieza despues de hasta", {20, 20, 20, 10}, 1, 3, {}},
      {"ninguno", {20, 20, 20}, 1, 3, {}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    const TSeriesDeDatos s = Serie(c.cgm);
    TFechaHora desde = t0 + (c.desde - 1) * dt, hasta = t0 + (c.hasta - 1) * dt;
    const std::vector<TPeriodoRestriccion> p = BuscarPeriodosRestriccion(s, desde, hasta, 20);
    ASSERT_EQ(p.size(), c.periodos.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
      EXPECT_DOUBLE_EQ(p[i].inicio, t0 + (c.periodos[i].first - 1) * dt);
      EXPECT_DOUBLE_EQ(p[i].fin, t0 + (c.periodos[i].second - 1) * dt);
    }
  }
}

TEST_F(Series, ElRangoSeAjustaALaSerie) {
  const TSeriesDeDatos s = Serie({20, 10, 20, 20});
  TFechaHora desde = CodificarFecha(2015, 1, 1), hasta = CodificarFecha(2016, 1, 1);
  const auto p = BuscarPeriodosRestriccion(s, desde, hasta, 20);
  EXPECT_DOUBLE_EQ(desde, CodificarFecha(2015, 3, 5));
  EXPECT_DOUBLE_EQ(hasta, CodificarFecha(2015, 3, 5) + 3.0 / 144);
  ASSERT_EQ(p.size(), 1U);
}

TEST_F(Series, SeriesQueNoSirven) {
  ayuda::EscribirArchivo(ruta_,
                         "VERSION_FORMATO_SERIES 1\r\n7\r\n2015 3 5 0 0 0\r\n1/6\r\n1\r\n144\r\n"
                         ".......\r\nVel Ang PE Temp Pre HumRel CGM\r\n1 1 2 3 4 5 6 7\r\n");
  EXPECT_THAT([&] { LeerSeriesRestricciones(ruta_.generic_string()); },
              ThrowsMessage<Excepcion>(
                  StrEq("ERROR en archivo series: tiene 7 series y se necesitan al menos 8")));
  ayuda::EscribirArchivo(ruta_,
                         "VERSION_FORMATO_SERIES 1\r\n8\r\n2015 3 5 0 0 0\r\n0\r\n0\r\n144\r\n"
                         "........\r\nVel Ang PE Temp Pre HumRel CGM fDisp\r\n");
  EXPECT_THAT([&] { LeerSeriesRestricciones(ruta_.generic_string()); },
              ThrowsMessage<Excepcion>(StrEq(
                  "ERROR en archivo series: el período entre muestras debe ser positivo: 0")));
}

TEST(IndiceDeMuestra, MedianochesDeUnAnio) {
  // A series starting at 00:10: every midnight is sample 144 of its day.
  const TFechaHora t0 = Instante(2015, 1, 1, 0, 10);
  const double dt = (1.0 / 6) / 24;
  const int n = 52560;
  for (int d = 1; d < 365; ++d) {
    ASSERT_EQ(IndiceDeMuestra(CodificarFecha(2015, 1, 1) + d, t0, dt, n), 144 * d) << d;
  }
  EXPECT_EQ(IndiceDeMuestra(t0 + 0.5 * dt, t0, dt, n), 1);
  EXPECT_EQ(IndiceDeMuestra(t0 - dt, t0, dt, n), 0);
  EXPECT_EQ(IndiceDeMuestra(1e300, t0, dt, n), n + 1);
}

TEST(AgruparPorHora, CubetasDeInstantesCalculados) {
  EXPECT_TRUE(AgruparPorHora({}).empty());
  const TFechaHora t0 = CodificarFecha(2015, 1, 1);
  const double dt = (1.0 / 6) / 24;
  for (int d = 0; d < 365; ++d) {
    const int k = d * 144;
    const TFechaHora dia = CodificarFecha(2015, 1, 1) + d;
    // 10:10 and 11:00 go to 10:00; 11:10 opens 11:00. 13:00 opens 13:00 and takes 14:00.
    const std::vector<TEntradaEnergia> r = AgruparPorHora({{t0 + (k + 61) * dt, 1},
                                                           {t0 + (k + 66) * dt, 2},
                                                           {t0 + (k + 67) * dt, 4},
                                                           {t0 + (k + 78) * dt, 8},
                                                           {t0 + (k + 84) * dt, 16}});
    ASSERT_EQ(r.size(), 3U) << d;
    EXPECT_DOUBLE_EQ(r[0].instante, dia + 10.0 / 24);
    EXPECT_DOUBLE_EQ(r[0].energia, 3);
    EXPECT_DOUBLE_EQ(r[1].instante, dia + 11.0 / 24);
    EXPECT_DOUBLE_EQ(r[1].energia, 4);
    EXPECT_DOUBLE_EQ(r[2].instante, dia + 13.0 / 24);
    EXPECT_DOUBLE_EQ(r[2].energia, 24);
    if (HasFailure()) FAIL() << "día " << d;
  }
}

TEST(RestriccionesHorarias, Tabla) {
  const std::string t = TextoRestriccionesHorarias(1.5, {{42068.5, 0.25}, {42068.5 + 1.0 / 24, 1}});
  EXPECT_EQ(t,
            "Fecha\t Energía no suministrada SCADA [MWh]\t Factor SMEC/SCADA [p.u] \t"
            " Energía no suministrada SMEC [MWh]\r\n"
            " 4.2068500000000000E+004\t 2.5000000000000000E-001\t 1.5000000000000000E+000\t"
            " 3.7500000000000000E-001\r\n" +
                RealANotacionArchivo(42068.5 + 1.0 / 24) +
                "\t 1.0000000000000000E+000\t 1.5000000000000000E+000\t"
                " 1.5000000000000000E+000\r\n"
                "E[MWh] totales\t 1.2500000000000000E+000\t\t 1.8750000000000000E+000\r\n");
  EXPECT_EQ(TextoRestriccionesHorarias(1.02, {}),
            "Fecha\t Energía no suministrada SCADA [MWh]\t Factor SMEC/SCADA [p.u] \t"
            " Energía no suministrada SMEC [MWh]\r\n"
            "E[MWh] totales\t 0.0000000000000000E+000\t\t 0.0000000000000000E+000\r\n");
}

// ---------------------------------------------------------------------------------------------
// The combined-model pass over series generated by the combined model itself.

class PasadaMC : public testing::Test {
 protected:
  void SetUp() override {
    mt_ = ayuda::ParqueGrueso(10, 20);
    const fs::path clp = carpetas_.dir / "c8_calibrador.clp";
    ayuda::EscribirArchivo(clp, ayuda::TextoCalibrador(*mt_, ayuda::TEmpiricoPrueba{}));
    std::ostringstream progreso;
    auto mc = TParque_ModeloCombinado::CrearDesdeCalibrador(clp.generic_string(), progreso);
    pmc_ = carpetas_.dir / "c8.pmc";
    mc->GuardarMC(pmc_.generic_string());
    mc_ = TParque_ModeloCombinado::CrearDesdeArchivoMC(pmc_.generic_string());
    carpeta_ = carpetas_.dir / "c8";
    fs::create_directories(carpeta_);
  }
  // Power the farm could give without set-point, by the combined model.
  double Potencia(const TMuestra& m) {
    double con = 0, sin = 0;
    mc_->PotenciaMC(m.CGM, DensidadAire(15, 1013, 70), m.dir, m.v, con, sin);
    return sin;
  }
  // Moderate varying wind: no stuck sensors and no power at the limit.
  static TMuestra Viento(int k) {
    TMuestra m;
    m.v = 7 + 1.5 * std::sin(k / 7.0);
    m.dir = 250 + 30 * std::sin(k / 11.0);
    return m;
  }
  std::vector<std::string> Archivos() const {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(carpeta_)) r.push_back(e.path().filename());
    std::sort(r.begin(), r.end());
    return r;
  }

  ayuda::CarpetasPrueba carpetas_{"restr_mc"};
  std::unique_ptr<TParque_ModeloTeorico> mt_;
  std::unique_ptr<TParque_ModeloCombinado> mc_;
  fs::path pmc_, carpeta_;
  fs::path serie_ = carpetas_.dir / "c8.sas";
  std::ostringstream salida_;
};

TEST_F(PasadaMC, CasosDeLaMuestra) {
  // 200 samples from 2015-03-05 00:00; measured = model outside the restriction, so the
  // adjustment is exactly 1. Samples 150..170 are under a set-point.
  const double PAut = 20;
  std::vector<TMuestra> m;
  for (int k = 1; k <= 200; ++k) {
    TMuestra x = Viento(k);
    x.P = Potencia(x);
    m.push_back(x);
  }
  for (int k = 150; k <= 170; ++k) {
    TMuestra& x = m[static_cast<std::size_t>(k - 1)];
    x.v = 10.5 + 0.1 * (k % 5);
    x.CGM = 10;
    x.P = 10;
  }
  auto muestra = [&m](int k) -> TMuestra& { return m[static_cast<std::size_t>(k - 1)]; };
  muestra(151) = {14, 250, 19.5, 19.5};  // CGM exactly PAut - 0.5
  muestra(152).P = 10 + 0.03 * PAut;     // P exactly CGM + 0.03 PAut
  muestra(153).P = 10 + 0.59;            // inside the band
  muestra(154).CGM = -1;                 // valid sample with a missing set-point
  muestra(155).hueco = true;             // invalid sample
  EscribirSerie(serie_, {2015, 3, 5, 0, 0}, m);

  const TFechaHora t0 = CodificarFecha(2015, 3, 5);
  const double dt = 1.0 / 144;
  std::vector<TEntradaEnergia> lista;
  const TFechaHora inicio = t0 + 149 * dt, fin = t0 + 170 * dt;
  const double suma =
      ProcesarPeriodoMC(*mc_, serie_.generic_string(), carpeta_.generic_string(), false, lista,
                        1.02, inicio, fin, inicio - 1.0 / 6, fin + 1.0 / 6, salida_);
  const fs::path nombre = carpeta_ / "ResultadosMC_201503052050201503060820.xlt";
  ASSERT_TRUE(fs::exists(nombre)) << testing::PrintToString(Archivos());
  const auto tabla = Tabla(nombre);
  // Header, samples 126..195, an empty line, the totals heading and the totals.
  ASSERT_EQ(tabla.size(), 1 + 70 + 1 + 2 + 1U);
  EXPECT_EQ(tabla[0],
            (std::vector<std::string>{"dt", "Vel[m/s]", "Dir[gr]", "P_MW_Dato[MW]", "CGM_Dato[MW]",
                                      "P_MW_MC_conAjCP", "pRed_conAjCP[MW]"}));
  const auto fila = [&tabla](int k) -> const std::vector<std::string>& {
    return tabla[static_cast<std::size_t>(k - 125)];
  };
  EXPECT_EQ(fila(126)[0], FechaHoraATexto(t0 + 125 * dt));
  double esperada = 0;
  std::vector<TEntradaEnergia> esperadas;
  for (int k = 126; k <= 195; ++k) {
    SCOPED_TRACE(k);
    const TMuestra& x = muestra(k);
    const double p_aj = Real(fila(k)[5]), p_red = Real(fila(k)[6]);
    if (x.hueco) {
      EXPECT_EQ(p_aj, -111111);
      EXPECT_EQ(p_red, 0);
      continue;
    }
    // Restricted samples never enter the window: the adjustment stays 1 throughout.
    const double p_sin = std::min(Potencia(x), PAut);
    EXPECT_EQ(p_aj, p_sin);
    double r = 0;
    if (k >= 150 && k <= 170 && k != 151 && k != 152 && k != 154) {
      r = static_cast<double>(static_cast<float>(p_sin - x.P));
      ASSERT_GT(r, 0);
      esperada += r / 6;
      esperadas.push_back({t0 + (k - 1) * dt, r / 6});
    }
    EXPECT_EQ(p_red, r);
  }
  EXPECT_EQ(suma, esperada);
  ASSERT_EQ(lista.size(), esperadas.size());
  for (std::size_t i = 0; i < lista.size(); ++i) {
    EXPECT_EQ(lista[i].instante, esperadas[i].instante);
    EXPECT_EQ(lista[i].energia, esperadas[i].energia);
  }
  // The totals: "Fecha fin" is the last restricted sample.
  EXPECT_EQ(tabla[71], std::vector<std::string>{""});
  EXPECT_EQ(tabla[72], (std::vector<std::string>{
                           "Fecha inicio", "Fecha fin", " Energía no suministrada SCADA [MWh]",
                           " Factor SMEC/SCADA [p.u] ", " Energía no suministrada SMEC [MWh]"}));
  EXPECT_EQ(tabla[73], (std::vector<std::string>{
                           "06-03-2015 00:50", "06-03-2015 04:10", RealANotacionArchivo(esperada),
                           RealANotacionArchivo(1.02), RealANotacionArchivo(1.02 * esperada)}));
  // Every written instant is echoed, then the closing line.
  const std::string s = salida_.str();
  EXPECT_THAT(s, HasSubstr(FechaHoraATexto(t0 + 125 * dt) + "\n"));
  EXPECT_THAT(s, HasSubstr("\nFin cálculo del Modelo Combinado\n"));
  EXPECT_EQ(Archivos(), std::vector<std::string>{nombre.filename().string()});
}

TEST_F(PasadaMC, PeriodoCercaDelInicioDeLaSerie) {
  // Measured is 0.9 of the model: the adjustment is 1 until the first sample enters the window,
  // then that sample's ratio.
  std::vector<TMuestra> m;
  for (int k = 1; k <= 60; ++k) {
    TMuestra x = Viento(k);
    x.P = 0.9 * Potencia(x);
    m.push_back(x);
  }
  EscribirSerie(serie_, {2015, 3, 5, 0, 0}, m);
  const TFechaHora t0 = CodificarFecha(2015, 3, 5);
  std::vector<TEntradaEnergia> lista;
  ProcesarPeriodoMC(*mc_, serie_.generic_string(), carpeta_.generic_string(), false, lista, 1,
                    t0 + 0.1, t0 + 0.3, t0 + 0.1 - 1.0 / 6, t0 + 0.3 + 1.0 / 6, salida_);
  const auto tabla = Tabla(carpeta_ / "ResultadosMC_20150305201503050950.xlt");
  ASSERT_EQ(tabla.size(), 1 + 60 + 4U);
  EXPECT_EQ(tabla[1][0], FechaHoraATexto(t0));
  EXPECT_EQ(Real(tabla[1][5]), Potencia(m[0]));
  EXPECT_DOUBLE_EQ(Real(tabla[2][5]), m[0].P / Potencia(m[0]) * Potencia(m[1]));
  EXPECT_NEAR(Real(tabla[60][5]), 0.9 * Potencia(m[59]), 1e-12);
}

TEST_F(PasadaMC, MatricesDeErrores) {
  std::vector<TMuestra> m;
  for (int k = 1; k <= 40; ++k) {
    TMuestra x = Viento(k);
    x.P = Potencia(x) - 0.5;
    m.push_back(x);
  }
  m[30].CGM = 10;
  m[30].P = 10;
  EscribirSerie(serie_, {2015, 3, 5, 12, 0}, m);
  const TFechaHora t0 = Instante(2015, 3, 5, 12, 0);
  std::vector<TEntradaEnergia> lista;
  // The table starts at sample 11: the ten samples before it warm the window up only.
  ProcesarPeriodoMC(*mc_, serie_.generic_string(), carpeta_.generic_string(), true, lista, 1, t0,
                    t0 + 1, t0 + 10.0 / 144, t0 + 1, salida_);
  const std::string t = ayuda::LeerArchivo(carpeta_ / "Matrices_Errores.xlt");
  // 29 day samples (11..40 but the restricted one), each with an error of 0.5 MW.
  const auto valor = [&t](const std::string& titulo) {
    const std::size_t p = t.find(titulo + "\t");
    if (p == std::string::npos) return -1.0;
    const std::size_t d = p + titulo.size() + 1;
    return Real(t.substr(d, t.find("\r\n", d) - d));
  };
  EXPECT_EQ(valor("Cantidad de datos por sector y tramo - Total [cant]"), 29);
  EXPECT_EQ(valor("Cantidad de datos por sector y tramo - Noche [cant]"), 0);
  EXPECT_DOUBLE_EQ(valor("Errores Acumulados - Día [MWh]"), 29 * 0.5 / 6);
  EXPECT_DOUBLE_EQ(valor("Errores Medios Respecto a PAutorizada - Día [p.u]"), 0.5 / 20);
  EXPECT_NEAR(valor("Desviación estándar del error respecto a la PAutorizada - Total [p.u]"), 0,
              1e-6);
}

// ---------------------------------------------------------------------------------------------
// The whole computation, with the SMEC/SCADA factor from a real gateway.

class ProcesarRestriccionesEnDB : public prueba_modelos::BaseDePrueba {
 protected:
  void SetUp() override {
    prueba_modelos::BaseDePrueba::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    mt_ = ayuda::ParqueGrueso(10, 20);
    const fs::path clp = carpetas_.dir / "c8_calibrador.clp";
    ayuda::EscribirArchivo(clp, ayuda::TextoCalibrador(*mt_, ayuda::TEmpiricoPrueba{}));
    std::ostringstream progreso;
    mc_ = TParque_ModeloCombinado::CrearDesdeCalibrador(clp.generic_string(), progreso);
    pmc_ = carpetas_.dir / "c8.pmc";
    mc_->GuardarMC(pmc_.generic_string());
    carpeta_ = carpetas_.dir / "c8";
    fs::create_directories(carpeta_);
    // Three days; the farm gives 0.9 of the model, and is cut to its set-point in two periods.
    const double PAut = 20;
    for (int k = 1; k <= 432; ++k) {
      TMuestra x;
      x.v = 10 + 2.5 * std::sin(k / 9.0);
      x.dir = 240 + 40 * std::sin(k / 13.0);
      double con = 0, libre = 0;
      mc_->PotenciaMC(PAut, DensidadAire(15, 1013, 70), x.dir, x.v, con, libre);
      x.P = 0.9 * libre;
      if ((k >= 200 && k < 230) || (k >= 300 && k < 320)) {
        x.CGM = k < 230 ? 8 : 12;
        if (x.P > x.CGM) {
          verdad_ += (x.P - x.CGM) / 6;
          x.P = x.CGM;
        }
      }
      m_.push_back(x);
    }
    EscribirSerie(serie_, {2015, 3, 5, 0, 0}, m_);
  }
  std::vector<std::string> Archivos() const {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(carpeta_)) r.push_back(e.path().filename());
    std::sort(r.begin(), r.end());
    return r;
  }
  std::vector<TResumenPeriodo> Procesar(TFechaHora desde, TFechaHora hasta) {
    return ProcesarRestricciones(*con_, pmc_.generic_string(), serie_.generic_string(), desde,
                                 hasta, carpeta_.generic_string(), salida_);
  }

  ayuda::CarpetasPrueba carpetas_{"restr_db"};
  std::unique_ptr<TParque_ModeloTeorico> mt_;
  std::unique_ptr<TParque_ModeloCombinado> mc_;
  fs::path pmc_, carpeta_, serie_ = carpetas_.dir / "c8.sas";
  std::vector<TMuestra> m_;
  double verdad_ = 0;
  std::ostringstream salida_;
};

INSTANTIATE_TEST_SUITE_P(Motores, ProcesarRestriccionesEnDB, testing::Values("sqlite"));

TEST_P(ProcesarRestriccionesEnDB, EnergiaNoSuministradaCercaDeLaVerdad) {
  Sembrar(
      "INSERT INTO centrales (nid, centralgeneradora, potencia_autorizada_mw, factor_smec_scada) "
      "VALUES (8, 'Prueba', 20, 1.02)");
  const TFechaHora t0 = CodificarFecha(2015, 3, 5);
  const std::vector<TResumenPeriodo> r = Procesar(t0, t0 + 3);
  ASSERT_EQ(r.size(), 2U);
  EXPECT_DOUBLE_EQ(r[0].inicio, t0 + 199.0 / 144);
  EXPECT_DOUBLE_EQ(r[0].fin, t0 + 229.0 / 144);
  EXPECT_DOUBLE_EQ(r[1].inicio, t0 + 299.0 / 144);
  const double total = r[0].energia_scada + r[1].energia_scada;
  ASSERT_GT(verdad_, 1);
  // The model that made the data estimates it: within 0.1 % of the truth.
  EXPECT_NEAR(total, verdad_, 0.001 * verdad_);
  EXPECT_DOUBLE_EQ(r[1].energia_smec, 1.02 * r[1].energia_scada);
  EXPECT_EQ(Archivos(), (std::vector<std::string>{"ResultadosMC_201503060510201503061810.xlt",
                                                  "ResultadosMC_201503062150201503070910.xlt",
                                                  "c8_Restricciones_horarias.xlt"}));
  const auto horaria = Tabla(carpeta_ / "c8_Restricciones_horarias.xlt");
  const auto& totales = horaria[horaria.size() - 2];
  EXPECT_EQ(totales[0], "E[MWh] totales");
  EXPECT_NEAR(Real(totales[1]), total, 1e-9);
  // The answer closes the output.
  const std::string s = salida_.str();
  EXPECT_THAT(s, HasSubstr("Fin cálculo del Modelo Combinado\nPeríodos de restricción "
                           "encontrados: 2\n06-03-2015 09:10 - 06-03-2015 14:00: "
                           "energía no suministrada SCADA "));
}

TEST_P(ProcesarRestriccionesEnDB, SinPeriodosSoloLaTablaHoraria) {
  Sembrar(
      "INSERT INTO centrales (nid, centralgeneradora, potencia_autorizada_mw) "
      "VALUES (8, 'Prueba', 20)");
  const TFechaHora t0 = CodificarFecha(2015, 3, 5);
  EXPECT_TRUE(Procesar(t0, t0 + 1).empty());
  EXPECT_EQ(Archivos(), std::vector<std::string>{"c8_Restricciones_horarias.xlt"});
  EXPECT_EQ(ayuda::LeerArchivo(carpeta_ / "c8_Restricciones_horarias.xlt"),
            TextoRestriccionesHorarias(0, {}));
}

TEST_P(ProcesarRestriccionesEnDB, SinFactorNoSeEscribeNada) {
  const TFechaHora t0 = CodificarFecha(2015, 3, 5);
  // No row for the farm.
  EXPECT_THAT([&] { Procesar(t0, t0 + 3); },
              ThrowsMessage<Excepcion>(StrEq("List index out of bounds (0)")));
  // The query fails: the gateway's message.
  Sembrar("INSERT INTO centrales (nid, centralgeneradora) VALUES (8, 'Prueba')");
  motor_->FallarSentencias("SELECT factor_smec_scada");
  EXPECT_THAT([&] { Procesar(t0, t0 + 3); },
              ThrowsMessage<Excepcion>(StrEq("TResultadoQuery.ros: falla de prueba\r\n")));
  EXPECT_TRUE(Archivos().empty());
}

TEST_P(ProcesarRestriccionesEnDB, FallaEnElSegundoPeriodo) {
  Sembrar(
      "INSERT INTO centrales (nid, centralgeneradora, factor_smec_scada) "
      "VALUES (8, 'Prueba', 1)");
  // The second table cannot take its name: the first stays, nothing is half written.
  fs::create_directories(carpeta_ / "ResultadosMC_201503062150201503070910.xlt" / "x");
  const TFechaHora t0 = CodificarFecha(2015, 3, 5);
  EXPECT_THROW(Procesar(t0, t0 + 3), ExcepcionES);
  EXPECT_EQ(Archivos(), (std::vector<std::string>{"ResultadosMC_201503060510201503061810.xlt",
                                                  "ResultadosMC_201503062150201503070910.xlt"}));
}

}  // namespace
