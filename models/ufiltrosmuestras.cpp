#include "ufiltrosmuestras.h"

#include <cmath>
#include <iostream>
#include <limits>
#include <memory>
#include <ostream>
#include <utility>

#include "numtext.h"
#include "ucurvasaeros.h"
#include "ugraficador.h"
#include "uparques_modeloteorico.h"
#include "usalidatexto.h"

namespace {

std::size_t U(int k) { return static_cast<std::size_t>(k); }

}  // namespace

void TFiltrosMuestras::Dimensionar(int n) {
  const std::size_t m = static_cast<std::size_t>(n < 0 ? 0 : n) + 1;
  for (TDAOfBoolean* a :
       {&Filt_Huecos, &Filt_Coherencia, &Filt_Disponibilidad, &Filt_CGM, &Filtro_Distancia}) {
    a->assign(m, false);
  }
}

bool TFiltrosMuestras::Valida(int k) const {
  const std::size_t i = U(k);
  return !Filt_Huecos[i] && !Filt_Coherencia[i] && !Filt_Disponibilidad[i] && !Filt_CGM[i] &&
         !Filtro_Distancia[i];
}

void FiltrarMuestras(const TParque_ModeloTeorico& modelo_teorico, const TSeriesFiltrado& s,
                     TFiltrosMuestras& f, bool normalizar) {
  FiltrarMuestras(modelo_teorico, s, f, normalizar, std::cout);
}

void FiltrarMuestras(const TParque_ModeloTeorico& modelo_teorico, const TSeriesFiltrado& s,
                     TFiltrosMuestras& f, bool normalizar, std::ostream& salida) {
  // 1.-2.
  const NReal PAut = modelo_teorico.potencia_autorizada_mw;
  const int n = s.Vel.n();
  f.Dimensionar(n);

  // 3. gaps: missing or absurd values (a NaN compares false and is not a gap by itself).
  std::int32_t cnt = 0;
  for (int k = 1; k <= n; ++k) {
    const bool hueco =
        s.Vel.elemento(k) < -10 || s.Vel.elemento(k) > 80 || s.Ang.elemento(k) < -1000 ||
        s.PE.elemento(k) < -1000 || s.PE.elemento(k) > 1.2 * PAut || s.Pre.elemento(k) < -1000 ||
        s.HumRel.elemento(k) < -1000 || s.Temp.elemento(k) < -1000 || s.CGM.elemento(k) < -1000;
    f.Filt_Huecos[U(k)] = hueco;
    if (hueco) ++cnt;
  }
  salida << "Filtrado de huecos: " << IntATexto(cnt) << '\n';

  // 4.
  AjustarFDisp(s.fDisp, modelo_teorico, salida);

  // 5. availability, and the power of the farm as if it were all available.
  cnt = 0;
  for (int k = 1; k <= n; ++k) {
    if (f.Filt_Huecos[U(k)]) continue;
    const NReal fd = s.fDisp.elemento(k);
    if (fd < 0.8 || fd > 1.001 || s.PE.elemento(k) / fd > 1.02 * PAut) {
      f.Filt_Disponibilidad[U(k)] = true;
      ++cnt;
    } else if (normalizar) {
      s.PE.poner(k, s.PE.elemento(k) / fd);
    }
  }
  salida << "Filtrado por Disp < 0.8 o PDato/fdisp > PAutorizada: " << IntATexto(cnt) << '\n';

  // 6.-7.
  salida << "Filtro repetidos vel: "
         << IntATexto(MarcarRepetidos(f.Filt_Coherencia, s.Vel, 8, f.Filt_Huecos)) << '\n';
  salida << "Filtro repetidos dir: "
         << IntATexto(MarcarRepetidos(f.Filt_Coherencia, s.Ang, 8, f.Filt_Huecos)) << '\n';

  // 8. a power held at its set-point is expected to stay constant.
  TDAOfBoolean saltar(U(n) + 1, false);
  for (int k = 1; k <= n; ++k) {
    saltar[U(k)] =
        f.Filt_Huecos[U(k)] || std::fabs(s.PE.elemento(k) - s.CGM.elemento(k)) <= 0.03 * PAut;
  }
  salida << "Filtro repetidos Pot: "
         << IntATexto(MarcarRepetidos(f.Filt_Coherencia, s.PE, 8, saltar)) << '\n';

  // 9. set-point below the authorised power.
  cnt = 0;
  for (int k = 1; k <= n; ++k) {
    if (f.Filt_Huecos[U(k)]) continue;
    if (s.CGM.elemento(k) < 0.99 * PAut) {
      f.Filt_CGM[U(k)] = true;
      ++cnt;
    }
  }
  salida << "Filtro CGM < PAut*0.99: " << IntATexto(cnt) << '\n';
}

void AjustarFDisp(TVectR& fDisp, const TParque_ModeloTeorico& modelo_teorico,
                  std::ostream& salida) {
  if (fDisp.n() < 1) return;
  const NReal mx = fDisp.maximo();
  const NReal N = modelo_teorico.n_molinos();
  if (!(std::fabs(mx - 1) > std::fabs(mx - N))) return;
  NReal divisor = 0;
  const char* explicacion = nullptr;
  if (mx > 2 * N) {
    divisor = 100;
    explicacion = " Asumo que es porcentaje y divido por este valor.";
  } else {
    divisor = N;
    explicacion = " Asumo que es cantidad de máquinas y divido por este valor.";
  }
  salida << "WARNING!!!: max_fd: " << RealAGeneral(divisor) << explicacion << '\n';
  const NReal f = 1 / divisor;
  for (int k = 1; k <= fDisp.n(); ++k) fDisp.poner(k, fDisp.elemento(k) * f);
}

std::int32_t MarcarRepetidos(TDAOfBoolean& marcas, const TVectR& serie, int m,
                             const TDAOfBoolean& saltar) {
  const int n = serie.n();
  // 1. first position not skipped.
  int i = 1;
  while (i <= n - 1 && saltar[U(i)]) ++i;
  if (i > n - 1) return 0;
  // 2.
  NReal ref = serie.elemento(i);
  int inicio = i;
  std::int32_t run = 0;
  std::int32_t total = 0;
  // 3. position n is never examined.
  for (int j = i + 1; j <= n - 1; ++j) {
    const NReal x = serie.elemento(j);
    if (saltar[U(j)] || !(x == ref)) {
      ref = x;
      inicio = j;
      if (run >= m) total += run;
      run = 0;
    } else {
      ++run;
      if (run >= m) {
        for (int p = inicio; p <= j - 1; ++p) marcas[U(p)] = true;
        inicio = j;
      }
    }
  }
  return total;
}

void FiltrarPorDistancia(const TSeriesFiltrado& s, TFiltrosMuestras& f,
                         const TPotenciaEstimada& estimada) {
  const int n = s.Vel.n();
  // 1. flagged samples keep an infinite distance, so they sort after every valid one however
  // large a valid deviation is.
  TVectR dist(n);
  for (int k = 1; k <= n; ++k) dist.poner(k, std::numeric_limits<NReal>::infinity());
  TVectR marca(n);
  int nf = 0;
  // 2.
  for (int k = 1; k <= n; ++k) {
    const std::size_t i = U(k);
    if (f.Filt_Huecos[i] || f.Filt_Coherencia[i] || f.Filt_CGM[i] || f.Filt_Disponibilidad[i]) {
      ++nf;
      continue;
    }
    const NReal rho = DensidadAire(s.Temp.elemento(k), s.Pre.elemento(k), s.HumRel.elemento(k));
    const NReal pv3 = PV3(s.Vel.elemento(k), rho);
    const NReal est = estimada(rho, pv3, s.Ang.elemento(k));
    const NReal d = est - s.PE.elemento(k);
    dist.poner(k, d * d);
  }
  // 3.
  TDAofNInt idx(U(n) + 1);
  for (int k = 0; k <= n; ++k) idx[U(k)] = k;
  dist.ordenar(true, idx);
  // 4. the worst tenth of the valid samples.
  const int keep = TruncToInt((n - nf) * 0.9);
  for (int p = n - nf; p >= keep + 1; --p) marca.poner(p, 1);
  // 5.-6.
  marca.reordenar_inverso(idx);
  for (int k = 1; k <= n; ++k) f.Filtro_Distancia[U(k)] = std::fabs(marca.elemento(k) - 1) < 1e-8;
}

namespace {

void EscribirTablaFiltrada(const TSeriesFiltrado& s, const TFiltrosMuestras& f,
                           const TSalidaFiltrado& o) {
  const int n = s.Vel.n();
  std::string t;
  t.reserve(U(n) * 256 + 256);
  AgregarLineaTabla(t, {"dt", "Vel[m/s]", "Ang[°]", "PE[MW]", "Temp[°C]", "Pre[hPA]", "HumRel[%]",
                        "CGM[MW]", "fDisp[p.u.]", "Filt_Huecos", "Filt_Coherencia",
                        "Filt_Disponibilidad", "Filt_CGM", "Filtro_Distancia"});
  auto b = [](bool x) { return std::string(x ? "1" : "0"); };
  for (int k = 1; k <= n; ++k) {
    const std::size_t i = U(k);
    AgregarLineaTabla(
        t,
        {FechaHoraATexto(o.fecha_inicio + (k - 1) * o.dt), RealANotacionArchivo(s.Vel.elemento(k)),
         RealANotacionArchivo(s.Ang.elemento(k)), RealANotacionArchivo(s.PE.elemento(k)),
         RealANotacionArchivo(s.Temp.elemento(k)), RealANotacionArchivo(s.Pre.elemento(k)),
         RealANotacionArchivo(s.HumRel.elemento(k)), RealANotacionArchivo(s.CGM.elemento(k)),
         RealANotacionArchivo(s.fDisp.elemento(k)), b(f.Filt_Huecos[i]), b(f.Filt_Coherencia[i]),
         b(f.Filt_Disponibilidad[i]), b(f.Filt_CGM[i]), b(f.Filtro_Distancia[i])});
  }
  EscribirTextoAtomico(o.carpeta + "/series_filtradas.xlt", t);
}

// One pair of series: the abscissa (speeds) and the ordinate drawn with markers only.
void AgregarPar(TGrafico& g, const std::string& nx, TDAofNReal x, const std::string& ny,
                TDAofNReal y, TColor marca, int tam, int ancho) {
  TSerieGrafico* sx =
      g.AgregarSerie(TSerieGrafico::Crear(nx, std::move(x), nullptr, nullptr, "##.##", true));
  TSerieGrafico* sy = g.AgregarSerie(TSerieGrafico::Crear(ny, std::move(y), sx, &g, "", false));
  sy->colorLinea = ninguno;
  sy->colorMarca = marca;
  sy->tamMarca = tam;
  sy->anchoLinea = ancho;
}

struct TParFiltro {
  const TDAOfBoolean* filtro;
  const char* nx;
  const char* ny;
  TColor color;
};

void GraficoFiltrado(const TSeriesFiltrado& s, const TFiltrosMuestras& f, const TVectR& ordenada,
                     const std::string& nombre, const std::string& titulo,
                     const std::string& nombre_y, const std::string& titulo_y, NReal max_y,
                     const TParFiltro (&pares)[4], const std::string& archivo) {
  const int n = s.Vel.n();
  auto g = TGrafico::Crear(nombre, 2, 0);
  g->titulo = titulo;
  g->ejeX->titulo = "Velocidad de viento [m/s]";
  g->ejeX->SetMin(0);
  g->ejeX->SetMax(25);
  g->ejeY->SetMin(0);
  g->ejeY->SetMax(max_y);
  g->ejeY->titulo = titulo_y;
  AgregarPar(*g, "vel", s.Vel.copiar_rango(1, n), nombre_y, ordenada.copiar_rango(1, n),
             ColorRGB(0, 128, 0), 2, 1);
  for (const TParFiltro& p : pares) {
    TDAofNReal x;
    TDAofNReal y;
    for (int k = 1; k <= n; ++k) {
      if ((*p.filtro)[U(k)] && !f.Filt_Huecos[U(k)]) {
        x.push_back(s.Vel.elemento(k));
        y.push_back(ordenada.elemento(k));
      }
    }
    AgregarPar(*g, p.nx, std::move(x), p.ny, std::move(y), p.color, 4, 2);
  }
  g->GuardarJPG(archivo, 2100, 100, 1000);
}

}  // namespace

void EscribirSeriesFiltradas(const TSeriesFiltrado& s, const TFiltrosMuestras& f,
                             const TSalidaFiltrado& o) {
  EscribirTablaFiltrada(s, f, o);
  if (!o.graficos) return;
  const std::string sufijo = IntATexto(TruncToInt(o.AlfaFilt * 100)) + ".jpg";
  constexpr TColor magenta = ColorRGB(255, 0, 255);
  constexpr TColor rojo = ColorRGB(255, 0, 0);
  constexpr TColor azul = ColorRGB(0, 0, 255);
  constexpr TColor negro = ColorRGB(0, 0, 0);
  const TParFiltro pares_pv[4] = {
      {&f.Filt_Coherencia, "vel_filtrados_por_coherencia", "PE_filtrados_por_Coherencia", magenta},
      {&f.Filt_CGM, "vel_filtrados_por_cgm", "PE_filtrados_por_cgm", rojo},
      {&f.Filt_Disponibilidad, "vel_filtrados_por_disp", "PE_filtrados_por_disp", azul},
      {&f.Filtro_Distancia, "vel_filtrados_por_dist", "PE_filtrados_por_dist", negro}};
  GraficoFiltrado(s, f, s.PE, "gfiltrados_pv", "Muestras y filtrados (plano PE-Velocidad)", "PE",
                  "Potencia eléctrica [MW]", (TruncToInt(o.PAut / 10) + 1) * 10.0, pares_pv,
                  o.carpeta + "/muestras_filtrados_plano_pe_vel_" + sufijo);
  const TParFiltro pares_dir[4] = {
      {&f.Filt_Coherencia, "vel_filtrados_por_coherencia_", "Dir_filtrados_por_Coherencia",
       magenta},
      {&f.Filt_CGM, "vel_filtrados_por_cgm", "Dir_filtrados_por_cgm", rojo},
      {&f.Filt_Disponibilidad, "vel_filtrados_por_disponibilidad",
       "Dir_filtrados_por_disponibilidad", azul},
      {&f.Filtro_Distancia, "vel_filtrados_por_distancia", "Dir_filtrados_por_distancia", negro}};
  GraficoFiltrado(s, f, s.Ang, "gfiltrados_dirvel", "Muestras y filtrados (plano Dir-Velocidad)",
                  "Dir", "Dirección [°]", 360, pares_dir,
                  o.carpeta + "/muestras_filtrados_plano_dir_vel_" + sufijo);
}
