#include "ugraficador.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "fechas.h"
#include "numtext.h"
#include "ulogoVeltra.h"

namespace {

// Widens [bajo, alto] with the finite values of v; the first widening sets the range.
void Ampliar(const TDAofNReal& v, NReal& bajo, NReal& alto, bool& hayRango) {
  for (const NReal x : v) {
    if (!std::isfinite(x)) continue;
    if (!hayRango) {
      bajo = x;
      alto = x;
      hayRango = true;
    } else if (x < bajo) {
      bajo = x;
    } else if (x > alto) {
      alto = x;
    }
  }
}

bool EsFormatoFecha(const std::string& formato) {
  return formato.find('-') != std::string::npos || formato.find('/') != std::string::npos;
}

}  // namespace

std::int32_t ClampPixel(NReal t) {
  if (std::isnan(t)) return 0;
  if (t < -2147483647.0) return -2147483647;
  if (t > 2147483647.0) return 2147483647;
  return TruncToInt(t);
}

// ---------------------------------------------------------------------------------------------
// TEjeGrafico

std::unique_ptr<TEjeGrafico> TEjeGrafico::Crear(const std::string& titulo) {
  return std::make_unique<TEjeGrafico>(titulo);
}

void TEjeGrafico::SetMin(NReal v) {
  minUsuario = v;
  autoMin = false;
}

void TEjeGrafico::SetMax(NReal v) {
  maxUsuario = v;
  autoMax = false;
}

void TEjeGrafico::EscalaRedondeada(NReal& bajo, NReal& alto, NReal& paso, bool expandir,
                                   std::int32_t& divisiones) {
  // A redrawn chart with fixed ends may bring a count of 0; it must never reach log10(0).
  divisiones = std::max(1, divisiones);
  // 1.
  if (bajo > alto) std::swap(bajo, alto);
  // 2. a single value becomes a small range
  if (alto - bajo < 1e-32) {
    alto = std::fabs(bajo) <= 1e-10 ? 1e-10 : bajo * 1.1;
    if (bajo > alto) std::swap(bajo, alto);
  }
  // 3. candidates 1, 2 and 5 times a power of ten
  const NReal L = std::log10(alto - bajo);
  if (!std::isfinite(L)) {
    // The span overflows: keep the ends and split them evenly.
    paso = alto / divisiones - bajo / divisiones;
    return;
  }
  // Quotients within this of a whole number are that number: a span of exactly ten steps must not
  // gain an eleventh from the last bit of log10 or of a division.
  constexpr NReal kHolgura = 1e-9;
  NReal mejorPaso = 0;
  NReal mejorPuntaje = 0;
  bool hayMejor = false;
  for (const int k : {1, 2, 5}) {
    const NReal c = std::log10(static_cast<NReal>(k) * divisiones);
    const NReal m = expandir ? std::ceil(L - c - kHolgura) : std::floor(L - c + kHolgura);
    const NReal puntaje = m + c;
    // 4. expanding keeps the smallest score, shrinking the largest; ties keep the earlier one
    if (!hayMejor || (expandir ? puntaje < mejorPuntaje : puntaje > mejorPuntaje)) {
      mejorPuntaje = puntaje;
      mejorPaso = k * std::pow(10.0, m);
      hayMejor = true;
    }
  }
  paso = mejorPaso;
  // 5.
  const NReal a = expandir ? std::floor(bajo / paso + kHolgura) : std::ceil(bajo / paso - kHolgura);
  const NReal b = expandir ? std::ceil(alto / paso - kHolgura) : std::floor(alto / paso + kHolgura);
  bajo = a * paso;
  alto = b * paso;
  divisiones = TruncToInt(b - a);
}

void TEjeGrafico::FijarRango(NReal& bajo, NReal& alto) {
  // 1.
  rangoBajo = bajo;
  rangoAlto = alto;
  redondeadoBajo = bajo;
  redondeadoAlto = alto;
  // 2. the tick count comes from the data even when both ends are fixed
  NReal pasoRedondeado = 0;
  EscalaRedondeada(redondeadoBajo, redondeadoAlto, pasoRedondeado, autoMin && autoMax, nDiv);
  // 3.
  if (!autoDiv) nDiv = nDivFijo;
  nDiv = std::max(1, nDiv);
  // 4.
  minUsado = autoMin ? redondeadoBajo : minUsuario;
  maxUsado = autoMax ? redondeadoAlto : maxUsuario;
  // 5.
  primero = minUsado;
  paso = (maxUsado - minUsado) / nDiv;
  // 6.
  bajo = minUsado;
  alto = maxUsado;
}

std::string TEjeGrafico::EtiquetaTick(int i) const {
  NReal v = i * paso + primero;
  switch (tipoEtiqueta) {
    case teEntero: {
      const NReal n = Nint(v);
      if (std::fabs(n) < 9.0e18) return IntATexto(static_cast<std::int64_t>(n));
      return RealAGeneral(v);
    }
    case teFecha:
      try {
        return FormatearFechaHora(formatoFecha, v);
      } catch (const Excepcion&) {
        return RealAGeneral(v);  // not a representable instant
      }
    default:
      // The tick meant to be zero may carry rounding noise from i * paso; it reads as zero.
      if (std::fabs(v) < std::fabs(paso) * 1e-9) v = 0.0;
      if (formatoNum == ffGeneral) return RealAGeneral(v);
      if (formatoNum == ffExponente) return RealAExponente(v, precision, decimales);
      return RealAFijoPrecision(v, precision, decimales);
  }
}

// ---------------------------------------------------------------------------------------------
// TGrafico

std::unique_ptr<TGrafico> TGrafico::Crear(const std::string& nombre, std::uint8_t tipoDefecto,
                                          std::int32_t logo) {
  return std::make_unique<TGrafico>(nombre, tipoDefecto, logo);
}

TGrafico::TGrafico(std::string nombre_, std::uint8_t tipoDefecto_, std::int32_t logo_)
    : nombre(std::move(nombre_)),
      ejeX(TEjeGrafico::Crear("")),
      ejeY(TEjeGrafico::Crear("")),
      ejeY2(TEjeGrafico::Crear("")),
      tipoDefecto(tipoDefecto_),
      logo(logo_) {}

TSerieGrafico* TGrafico::AgregarSerie(std::unique_ptr<TSerieGrafico> serie) {
  TSerieGrafico* s = serie.get();
  if (s->rol == 1) {
    seriesX.push_back(std::move(serie));
    return s;
  }
  if (s->tipo == tgLineasYMarcas && s->serieX == nullptr && !seriesX.empty()) {
    s->serieX = seriesX.front().get();
  }
  series.push_back(std::move(serie));
  return s;
}

TCajaGraficoXY* TGrafico::AgregarCaja(std::unique_ptr<TCajaGraficoXY> caja) {
  cajas.push_back(std::move(caja));
  return cajas.back().get();
}

TColor TGrafico::SiguienteColor() {
  const TColor c = kPaletaGrafico[static_cast<std::size_t>(iColor)];
  iColor = (iColor + 1) % static_cast<std::int32_t>(kPaletaGrafico.size());
  return c;
}

std::uint8_t TGrafico::SiguienteMarca() {
  const auto m = static_cast<std::uint8_t>(iMarca);
  iMarca = (iMarca + 1) % 5;
  return m;
}

int TGrafico::XPixel(NReal v) const {
  return Saturar(static_cast<std::int64_t>(izquierda) + ClampPixel((v - xBajo) * escalaX + 0.5));
}

int TGrafico::YPixel(NReal v) const {
  return Saturar(static_cast<std::int64_t>(abajo) - ClampPixel((v - yBajo) * escalaY + 0.5));
}

int TGrafico::Y2Pixel(NReal v) const {
  return Saturar(static_cast<std::int64_t>(abajo) - ClampPixel((v - y2Bajo) * escalaY2 + 0.5));
}

void TGrafico::CalcularRangos(std::array<std::array<std::vector<TSerieGrafico*>, 5>, 2>& listas) {
  // 1. Abscissa: without abscissa series the previous drawing's range stays.
  NReal xb = xBajo;
  NReal xa = xAlto;
  bool hayX = false;
  const TSerieGrafico* serieFecha = nullptr;
  for (const auto& s : seriesX) {
    if (s->valores.empty()) continue;
    Ampliar(s->valores, xb, xa, hayX);
    if (serieFecha == nullptr && EsFormatoFecha(s->formato)) serieFecha = s.get();
  }
  if (serieFecha != nullptr) {
    ejeX->tipoEtiqueta = teFecha;
    ejeX->formatoFecha = serieFecha->formato;
  }
  // Ordinates, grouped by side and filed by kind.
  NReal bajo[2] = {yBajo, y2Bajo};
  NReal alto[2] = {yAlto, y2Alto};
  bool hay[2] = {false, false};
  for (const auto& s : series) {
    const int lado = s->ejeDerecho ? 1 : 0;
    if (s->tipo != tgAreasApiladas) Ampliar(s->valores, bajo[lado], alto[lado], hay[lado]);
    if (s->tipo < 5) listas[static_cast<std::size_t>(lado)][s->tipo].push_back(s.get());
  }
  for (int lado = 0; lado < 2; ++lado) {
    RangoApiladas(listas[static_cast<std::size_t>(lado)][tgAreasApiladas], bajo[lado], alto[lado],
                  hay[lado]);
  }
  if (!listas[0][tgBandasPorcentaje].empty() || !listas[1][tgBandasPorcentaje].empty()) {
    if (!hay[0]) bajo[0] = 0;
    hay[0] = true;
    alto[0] = 100;
  }
  // 2. A date abscissa spans exactly its data.
  if (serieFecha != nullptr) {
    ejeX->SetMin(xb);
    ejeX->SetMax(xa);
  }
  ejeX->FijarRango(xb, xa);
  ejeY->FijarRango(bajo[0], alto[0]);
  ejeY2->FijarRango(bajo[1], alto[1]);
  xBajo = xb;
  xAlto = xa;
  yBajo = bajo[0];
  yAlto = alto[0];
  y2Bajo = bajo[1];
  y2Alto = alto[1];
  hayRangoY = hay[0];
  hayRangoY2 = hay[1];
}

namespace {

int AnchoMayorEtiquetas(TLienzo& l, const TEjeGrafico& eje) {
  int ancho = 0;
  for (int i = 0; i <= eje.nDiv; ++i) ancho = std::max(ancho, l.AnchoTexto(eje.EtiquetaTick(i)));
  return ancho;
}

}  // namespace

void TGrafico::CalcularMedidas(TLienzo& l, bool hayBandas) {
  // 3.
  l.LetraOrientacion(0);
  l.LetraTamano(tamanoLetra);
  const int altoM = l.AltoTexto("M");
  mx = altoM / 2;
  my = altoM / 2;
  alturaTitulo = titulo.empty() ? 0 : altoM;
  alturaTituloX = ejeX->titulo.empty() ? 0 : altoM;
  alturaTituloY = ejeY->titulo.empty() ? 0 : altoM;
  extensionEtiquetasX = AnchoMayorEtiquetas(l, *ejeX);
  anchoLeyenda = 0;
  marcaMayor = 0;
  anchoEtiquetasBanda = 0;
  for (const auto& s : series) {
    anchoLeyenda = std::max(anchoLeyenda, l.AnchoTexto(s->nombre));
    marcaMayor = std::max(marcaMayor, s->tamMarca);
    if (s->tipo == tgBandasPorcentaje) {
      for (const std::string& e : s->etiquetas) {
        anchoEtiquetasBanda = std::max(anchoEtiquetasBanda, l.AnchoTexto(e));
      }
    }
  }
  if (hayBandas) extensionEtiquetasX = 0;
  altoFilaLeyenda = altoM;
  anchoEtiquetasY = hayRangoY ? AnchoMayorEtiquetas(l, *ejeY) : 0;
  anchoEtiquetasY2 = hayRangoY2 ? AnchoMayorEtiquetas(l, *ejeY2) : 0;
}

void TGrafico::CalcularRectangulo(TLienzo& l, int ancho, int alto) {
  // 4. Each measure takes its margin only when it takes room.
  auto sumar = [](int& acumulado, int cantidad, int margen) {
    if (cantidad > 0) acumulado += cantidad + margen;
  };
  izquierda = mx;
  sumar(izquierda, alturaTituloY, mx);
  sumar(izquierda, anchoEtiquetasY, mx);
  int resto = mx;
  sumar(resto, anchoLeyenda, mx);
  sumar(resto, anchoEtiquetasY2, mx);
  sumar(resto, 2 * marcaMayor, mx);
  if (anchoEtiquetasBanda > 0) resto += anchoEtiquetasBanda + l.AnchoTexto("## %") + mx;
  derecha = ancho - resto;
  arriba = my;
  sumar(arriba, alturaTitulo, my);
  int debajo = my;
  sumar(debajo, alturaTituloX, my);
  sumar(debajo, extensionEtiquetasX, my);
  abajo = alto - debajo;
  escalaX = (derecha - izquierda) / (xAlto - xBajo);
  if (hayRangoY) escalaY = (abajo - arriba) / (yAlto - yBajo);
  if (hayRangoY2) escalaY2 = (abajo - arriba) / (y2Alto - y2Bajo);
}

void TGrafico::DibujarLeyenda(TLienzo& l, int ancho) {
  // 7.
  const int xLeyenda = ancho - mx - anchoLeyenda;
  const int origen = arriba + my;
  const int paso = altoFilaLeyenda + marcaMayor;
  for (std::size_t i = 0; i < series.size(); ++i) {
    const TSerieGrafico& s = *series[i];
    const int fila = static_cast<int>(i) * paso + origen;
    l.PlumaAncho(3);
    l.PlumaEstilo(psSolido);
    l.PlumaColor(s.colorMarca);
    l.BrochaColor(s.colorMarcaRelleno);
    l.BrochaEstilo(bsVacio);
    DibujarMarca(l, xLeyenda - s.tamMarca - mx, TruncToInt(altoFilaLeyenda * 0.5 + fila + 0.5),
                 s.tamMarca, s.marca);
    l.LetraColor(kNegro);
    l.Texto(xLeyenda, fila, s.nombre);
  }
}

void TGrafico::DibujarEtiquetasEjes(TLienzo& l) {
  // 10. Abscissa, reading upwards and ending just below the plot.
  if (ejeX->etiquetasVerticales) {
    l.LetraOrientacion(900);
    const int h1 = l.AltoTexto("1");
    for (int i = 0; i <= ejeX->nDiv; ++i) {
      const std::string t = ejeX->EtiquetaTick(i);
      const int x = XPixel(i * ejeX->paso + ejeX->primero);
      l.Texto(Saturar(static_cast<std::int64_t>(x) - h1 / 2), abajo + my + l.AnchoTexto(t), t);
    }
  }
  // 11. Left ordinate, always.
  l.LetraOrientacion(0);
  const int h1 = l.AltoTexto("1");
  for (int i = 0; i <= ejeY->nDiv; ++i) {
    const std::string t = ejeY->EtiquetaTick(i);
    const int y = YPixel(i * ejeY->paso + ejeY->primero);
    l.Texto(izquierda - mx - l.AnchoTexto(t), Saturar(static_cast<std::int64_t>(y) - h1 / 2), t);
  }
  // 12. Right ordinate with its red ticks.
  if (hayRangoY2) {
    for (int i = 0; i <= ejeY2->nDiv; ++i) {
      const int y = Y2Pixel(i * ejeY2->paso + ejeY2->primero);
      l.Texto(derecha + mx, Saturar(static_cast<std::int64_t>(y) - h1 / 2), ejeY2->EtiquetaTick(i));
    }
    l.PlumaColor(ColorRGB(255, 0, 0));
    l.PlumaEstilo(psPunteado);
    l.PlumaAncho(1);
    for (int i = 0; i <= ejeY2->nDiv; ++i) {
      const int y = Y2Pixel(i * ejeY2->paso + ejeY2->primero);
      l.Linea(derecha - 20, y, derecha, y);
    }
    l.PlumaColor(kNegro);
    l.PlumaEstilo(psSolido);
  }
}

void TGrafico::DibujarTitulosEjes(TLienzo& l, int ancho, int alto) {
  // 13. The right axis title is not drawn.
  l.LetraOrientacion(0);
  l.LetraColor(kNegro);
  if (!ejeX->titulo.empty()) {
    const int w = l.AnchoTexto(ejeX->titulo);
    l.Texto(TruncToInt((ancho - w) * 0.5), alto - my - alturaTituloX, ejeX->titulo);
  }
  if (!ejeY->titulo.empty()) {
    const int w = l.AnchoTexto(ejeY->titulo);
    l.LetraOrientacion(900);
    l.Texto(mx, TruncToInt((arriba + abajo) * 0.5 + w * 0.5), ejeY->titulo);
    l.LetraOrientacion(0);
  }
}

void TGrafico::DibujarGrilla(TLienzo& l) {
  // 14.
  l.LetraOrientacion(0);
  l.PlumaColor(ColorRGB(0, 0, 255));
  l.PlumaEstilo(psPunteado);
  l.PlumaAncho(1);
  if (ejeX->grilla) {
    for (int i = 0; i <= ejeX->nDiv; ++i) {
      const int x = XPixel(i * ejeX->paso + ejeX->primero);
      l.Linea(x, abajo, x, arriba);
    }
  }
  if (ejeY->grilla) {
    for (int i = 1; i < ejeY->nDiv; ++i) {
      const int y = YPixel(i * ejeY->paso + ejeY->primero);
      l.Linea(izquierda, y, derecha, y);
    }
  }
  l.PlumaColor(kNegro);
  l.PlumaEstilo(psSolido);
}

void TGrafico::Dibujar(TLienzo& l, int ancho, int alto) {
  anchoDibujo = ancho;
  altoDibujo = alto;
  // 1.-2. Ranges, scaling, and the per-kind working lists of each side.
  std::array<std::array<std::vector<TSerieGrafico*>, 5>, 2> listas;
  CalcularRangos(listas);
  const bool hayBandas =
      !listas[0][tgBandasPorcentaje].empty() || !listas[1][tgBandasPorcentaje].empty();
  const bool hayBarras = !listas[0][tgBarras].empty() || !listas[1][tgBarras].empty();
  // 3.-4.
  CalcularMedidas(l, hayBandas);
  CalcularRectangulo(l, ancho, alto);
  // 5. Background and frame.
  l.Recortar(0, 0, ancho, alto);
  l.BrochaEstilo(bsSolido);
  l.BrochaColor(kBlanco);
  l.RellenarRect(0, 0, ancho, alto);
  l.PlumaColor(kNegro);
  l.PlumaEstilo(psSolido);
  l.PlumaAncho(1);
  l.Rectangulo(izquierda, arriba, derecha, abajo);
  // 6.
  l.LetraColor(kNegro);
  if (!titulo.empty()) {
    l.Texto(TruncToInt((derecha + izquierda) * 0.5 - l.AnchoTexto(titulo) * 0.5), my, titulo);
  }
  // 7.
  DibujarLeyenda(l, ancho);
  // 8. The series, inside the plot.
  l.Recortar(izquierda, arriba, derecha, abajo);
  l.PlumaColor(kNegro);
  l.PlumaEstilo(psSolido);
  l.PlumaAncho(2);
  for (auto& lado : listas) PintarAreasApiladas(*this, l, lado[tgAreasApiladas]);
  l.PlumaAncho(3);
  for (auto& lado : listas) {
    PintarLineas(*this, l, lado[tgLineasYMarcas]);
    PintarMarcas(*this, l, lado[tgLineasYMarcas]);
  }
  // Bars and bands are outlined in black whatever colour the markers left on the pen.
  l.PlumaColor(kNegro);
  l.PlumaAncho(1);
  for (auto& lado : listas) PintarBarras(*this, l, lado[tgBarras]);
  if (hayBarras) {
    EtiquetarBarras(*this, l);
    l.Recortar(izquierda, arriba, derecha, abajo);
  }
  l.PlumaColor(kNegro);
  for (auto& lado : listas) PintarBandasPorcentaje(*this, l, lado[tgBandasPorcentaje]);
  if (hayBandas) EtiquetarBandas(*this, l);
  // 9.
  l.Recortar(0, 0, ancho, alto);
  l.PlumaAncho(1);
  l.PlumaEstilo(psSolido);
  l.PlumaColor(kNegro);
  l.BrochaColor(kBlanco);
  l.BrochaEstilo(bsSolido);
  l.LetraColor(kNegro);
  // 10.-13.
  DibujarEtiquetasEjes(l);
  DibujarTitulosEjes(l, ancho, alto);
  // 14.
  DibujarGrilla(l);
  // 15.
  for (const auto& c : cajas) PintarCaja(*this, l, *c);
  // 16.
  if (logo >= 0) {
    l.LetraTamano(8);
    const int s = l.AltoTexto("S");
    const int x = derecha - l.AnchoTexto("_ZZ_Veltra__") - 2 * marcaMayor - mx;
    DibujarLogoVeltra(l, x, arriba - s / 2);
    l.LetraTamano(tamanoLetra);
  }
  l.BrochaColor(kBlanco);
  l.BrochaEstilo(bsSolido);
  // 17. The working lists go with this frame.
}

void TGrafico::GuardarJPG(const std::filesystem::path& archivo, int ancho, int calidad, int alto) {
  std::unique_ptr<TLienzo> l = TLienzo::Crear(ancho, alto);
  Dibujar(*l, ancho, alto);
  l->GuardarJPG(archivo, calidad);
}
