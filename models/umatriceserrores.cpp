#include "umatriceserrores.h"

#include <cmath>
#include <string>

#include "errores.h"
#include "numtext.h"
#include "ubloquestexto.h"

namespace {

constexpr int kTotal = 0, kDia = 1, kNoche = 2;

void EscribirMatriz(std::string& t, const TMatR& m) {
  t += "NFilas: \t" + IntATexto(m.n_filas()) + "\tNColumnas: \t" + IntATexto(m.n_columnas()) +
       "\r\n";
  t += " ";
  for (int c = 1; c <= m.n_columnas(); ++c) {
    t += '\t';
    t += IntATexto(c);
  }
  t += "\r\n";
  for (int r = 1; r <= m.n_filas(); ++r) {
    t += IntATexto(r);
    for (int c = 1; c <= m.n_columnas(); ++c) {
      t += '\t';
      t += RealANotacionArchivo(m.elemento(r, c));
    }
    t += "\r\n";
  }
}

void EscribirBloque(std::string& t, const std::string& titulo, NReal global, const TMatR& m) {
  t += titulo + "\t" + RealANotacionArchivo(global) + "\r\n";
  EscribirMatriz(t, m);
  t += "\r\n";
}

}  // namespace

std::unique_ptr<TMatricesConErroresModelos> TMatricesConErroresModelos::Crear(
    std::int32_t n_sectores, std::int32_t n_tramos, NReal potencia_autorizada,
    std::int32_t hora_inicio_dia, std::int32_t hora_fin_dia, NReal rango_direcciones,
    NReal velocidad_maxima) {
  if (n_sectores < 1 || n_tramos < 1) {
    throw Excepcion("Matrices de errores: se necesita al menos un sector y un tramo");
  }
  std::unique_ptr<TMatricesConErroresModelos> m(new TMatricesConErroresModelos());
  m->n_sectores = n_sectores;
  m->n_tramos = n_tramos;
  m->potencia_autorizada = potencia_autorizada;
  m->hora_inicio_dia = hora_inicio_dia;
  m->hora_fin_dia = hora_fin_dia;
  m->rango_direcciones = rango_direcciones;
  m->ancho_sector = rango_direcciones / n_sectores;
  m->velocidad_maxima = velocidad_maxima;
  m->ancho_tramo = velocidad_maxima / n_tramos;
  for (TGrupo& g : m->grupos) {
    g.cuenta = TMatR(n_sectores, n_tramos);
    g.suma = TMatR(n_sectores, n_tramos);
    g.suma_cuadrados = TMatR(n_sectores, n_tramos);
    g.media = TMatR(n_sectores, n_tramos);
  }
  return m;
}

bool TMatricesConErroresModelos::Celda(NReal dir, NReal v, int& s, int& b) const {
  // The sample filter lets negative speeds and directions through; they have no cell.
  if (!std::isfinite(dir) || !std::isfinite(v) || dir < 0 || v < 0) return false;
  s = static_cast<int>(std::fmod(std::trunc(dir / ancho_sector), n_sectores)) + 1;
  const NReal vb = v >= velocidad_maxima ? velocidad_maxima - 0.001 : v;
  b = static_cast<int>(std::trunc(vb / ancho_tramo)) + 1;
  return s >= 1 && s <= n_sectores && b >= 1 && b <= n_tramos;
}

bool TMatricesConErroresModelos::EsDeDia(TFechaHora t) const {
  // Whole hours: the time of day is at least h/24 exactly when its hour is at least h.
  const TFechaHoraPartes p = DecodificarFechaHora(t);
  return p.hora >= hora_inicio_dia && p.hora < hora_fin_dia;
}

void TMatricesConErroresModelos::Acumular(TFechaHora t, NReal dir, NReal v, NReal e) {
  if (calculadas_) throw Excepcion("Matrices de errores ya escritas");
  int s = 0, b = 0;
  if (!std::isfinite(e) || !std::isfinite(t) || !Celda(dir, v, s, b)) return;
  for (const int g : {kTotal, EsDeDia(t) ? kDia : kNoche}) {
    TGrupo& x = grupos[static_cast<std::size_t>(g)];
    x.cuenta.acumular(s, b, 1);
    x.suma.acumular(s, b, e);
    x.suma_cuadrados.acumular(s, b, e * e);
  }
}

void TMatricesConErroresModelos::CalcularEstadisticas() {
  if (calculadas_) return;
  calculadas_ = true;
  const NReal Pa = potencia_autorizada;
  for (TGrupo& g : grupos) {
    NReal suma_q = 0, suma_n = 0, suma_mn = 0;
    for (int r = 1; r <= n_sectores; ++r) {
      for (int c = 1; c <= n_tramos; ++c) {
        const NReal n = g.cuenta.elemento(r, c);
        if (n < 0.999) {
          g.media.poner(r, c, SinDatos);
          g.suma_cuadrados.poner(r, c, SinDatos);
          continue;
        }
        const NReal media = g.suma.elemento(r, c) / n / Pa;
        const NReal q = g.suma_cuadrados.elemento(r, c);
        suma_q += q;
        const float s = static_cast<float>(q / n / (Pa * Pa) - media * media);
        g.media.poner(r, c, media);
        g.suma_cuadrados.poner(r, c, s > 0 ? std::sqrt(static_cast<NReal>(s)) : 0.0);
        suma_n += n;
        suma_mn += media * n;
      }
    }
    g.suma.escalar(1.0 / 6);
    g.error_acumulado = g.suma.suma_elementos();
    if (suma_n > 0) {
      g.error_medio = suma_mn / suma_n;
      // Rounding can bring the radicand slightly below 0.
      const NReal d = suma_q / (Pa * Pa) / suma_n - g.error_medio * g.error_medio;
      g.desviacion = std::sqrt(d > 0 ? d : 0.0);
    } else {
      g.error_medio = SinDatos;
      g.desviacion = SinDatos;
    }
  }
}

std::string TMatricesConErroresModelos::Texto() {
  CalcularEstadisticas();
  static const char* const kNombres[3] = {"Total", "Día", "Noche"};
  std::string t;
  for (int g = 0; g < 3; ++g) {
    const TGrupo& x = grupos[static_cast<std::size_t>(g)];
    EscribirBloque(t, std::string("Errores Acumulados - ") + kNombres[g] + " [MWh]",
                   x.error_acumulado, x.suma);
  }
  for (int g = 0; g < 3; ++g) {
    const TGrupo& x = grupos[static_cast<std::size_t>(g)];
    EscribirBloque(t,
                   std::string("Errores Medios Respecto a PAutorizada - ") + kNombres[g] + " [p.u]",
                   x.error_medio, x.media);
  }
  for (int g = 0; g < 3; ++g) {
    const TGrupo& x = grupos[static_cast<std::size_t>(g)];
    EscribirBloque(t,
                   std::string("Desviación estándar del error respecto a la PAutorizada - ") +
                       kNombres[g] + " [p.u]",
                   x.desviacion, x.suma_cuadrados);
  }
  for (int g = 0; g < 3; ++g) {
    const TGrupo& x = grupos[static_cast<std::size_t>(g)];
    EscribirBloque(t,
                   std::string("Cantidad de datos por sector y tramo - ") + kNombres[g] + " [cant]",
                   x.cuenta.suma_elementos(), x.cuenta);
  }
  return t;
}

void TMatricesConErroresModelos::EscribirArchivo(const std::string& nombre) {
  GrabarArchivoSeguro(nombre, Texto());
}

void TMatricesConErroresModelos::Liberar() {
  for (TGrupo& g : grupos) g = TGrupo{};
  n_sectores = 0;
  n_tramos = 0;
}
