// Tables and charts the empirical model leaves in the farm's working folder while it is built, so
// the fit of every sector can be judged.
#include <algorithm>
#include <cmath>
#include <exception>
#include <ostream>
#include <utility>

#include "carpetas.h"
#include "numtext.h"
#include "ucurvasaeros.h"
#include "ugraficador.h"
#include "uparques_modeloempirico.h"
#include "usalidatexto.h"

void TParque_ModeloEmpirico::EscribirCurvasS() const {
  const TCurvaAerogen& c = *modelo_teorico->curva_parque;
  std::string t;
  AgregarLineaTabla(t, {"ang", "alfa", "vm", "errc2", "cntMuestras", "MT_alfa", "MT_vm"});
  for (int s = 1; s <= NSectores(); ++s) {
    AgregarLineaTabla(
        t, {RealANotacionArchivo(AnguloSector(s)), RealANotacionArchivo(alfa.elemento(s)),
            RealANotacionArchivo(vm.elemento(s)), RealANotacionArchivo(errc2.elemento(s)),
            IntATexto(cntMuestras.elemento(s)), RealANotacionArchivo(c.alfa_s),
            RealANotacionArchivo(c.vm_s)});
  }
  EscribirTextoAtomico(Carpeta() + "/curvas_s_.xlt", t);
}

void TParque_ModeloEmpirico::EscribirCurvasCompletadas() const {
  std::string t;
  AgregarLineaTabla(t, {"ang", "alfa_completo", "vm_completo"});
  for (int s = 1; s <= NSectores(); ++s) {
    AgregarLineaTabla(t, {RealANotacionArchivo(AnguloSector(s)),
                          RealANotacionArchivo(alfa_completo.elemento(s, 1)),
                          RealANotacionArchivo(vm_completo.elemento(s, 1))});
  }
  EscribirTextoAtomico(Carpeta() + "/curvas_s_completadas_.xlt", t);
}

void TParque_ModeloEmpirico::EscribirCurvaSDepuracion(const std::vector<NReal>& v,
                                                      const std::vector<NReal>& y, NReal Pmax,
                                                      NReal alfa_s, NReal vm_s) const {
  // A diagnostic copy only: failing to write it never changes the fit.
  try {
    std::string t;
    AgregarLineaTabla(t, {"x", "y", "s"});
    const long double P = Pmax;
    for (std::size_t j = 0; j < v.size(); ++j) {
      const long double vj = v[j];
      AgregarLineaTabla(
          t, {RealANotacionArchivo(v[j]),
              RealANotacionExtendida(P / (std::exp(static_cast<long double>(y[j])) + 1)),
              RealANotacionExtendida(P / (std::exp(-static_cast<long double>(alfa_s) *
                                                   (vj - static_cast<long double>(vm_s))) +
                                          1))});
    }
    EscribirTextoAtomico(ArchivoBasura("curva_s.xlt"), t);
  } catch (const std::exception& e) {
    *salida_ << "No se pudo escribir la tabla de diagnóstico de la curva S: " << e.what() << '\n';
  }
}

namespace {

TSerieGrafico* Abscisa(TGrafico& g, const std::string& nombre, TDAofNReal valores) {
  return g.AgregarSerie(
      TSerieGrafico::Crear(nombre, std::move(valores), nullptr, nullptr, "##.##", true));
}

void Ordenada(TGrafico& g, TSerieGrafico* x, const std::string& nombre, TDAofNReal valores,
              TColor linea, TColor marca, int tam, int ancho, bool derecho) {
  TSerieGrafico* s =
      g.AgregarSerie(TSerieGrafico::Crear(nombre, std::move(valores), x, &g, "", false));
  s->colorLinea = linea;
  s->colorMarca = marca;
  s->tamMarca = tam;
  s->anchoLinea = ancho;
  s->ejeDerecho = derecho;
}

}  // namespace

bool EsMuestraDeDia(TFechaHora t) {
  const int hora = DecodificarFechaHora(t).hora;
  return hora >= 7 && hora < 20;
}

std::unique_ptr<TGrafico> TParque_ModeloEmpirico::GraficoSector(int s) const {
  const TCluster& cl = clusters[static_cast<std::size_t>(s - 1)];
  const NReal ang = AnguloSector(s);
  const int NB = NBins();
  constexpr TColor rojo = ColorRGB(255, 0, 0);
  // 1.
  auto g = TGrafico::Crear("gfiltrados_pv", 2, 0);
  g->titulo = "Muestras cluster ang: " + RealAFijo(ang, 0, 1) + "°";
  // 2.
  g->ejeX->titulo = "Potencia del viento [MW/m2]";
  g->ejeX->formatoNum = 1;
  g->ejeX->precision = 6;
  g->ejeX->decimales = 8;
  // 3.
  const NReal PAut = modelo_teorico->potencia_autorizada_mw;
  const NReal Pn = modelo_teorico->potencia_nominal;
  const NReal ymax = TruncToInt((Pn >= PAut ? Pn : PAut) / 10 + 1) * 10.0;
  g->ejeY->titulo = "Potencia eléctrica [MW]";
  g->ejeY->SetMax(ymax);
  g->ejeY->SetMin(0);
  // 4. day samples 07:00 to before 20:00, after rounding the instant to the millisecond.
  TDAofNReal x_dia, y_dia, x_noche, y_noche;
  for (int i = 1; i <= cl.pv3.n(); ++i) {
    const bool dia = EsMuestraDeDia(cl.tiempo.elemento(i));
    (dia ? x_dia : x_noche).push_back(cl.pv3.elemento(i));
    (dia ? y_dia : y_noche).push_back(cl.pe.elemento(i));
  }
  // 5.-6.
  Ordenada(*g, Abscisa(*g, "Pv3_7a19hs", std::move(x_dia)), "PE_muestras_7a19hs", std::move(y_dia),
           ninguno, ColorRGB(0, 0, 255), 2, 1, false);
  Ordenada(*g, Abscisa(*g, "Pv3_20a6hs", std::move(x_noche)), "PE_muestras_20a6hs",
           std::move(y_noche), ninguno, ColorRGB(0, 0, 0), 2, 1, false);
  for (int b = 1; b <= NB + 1; ++b) {
    const NReal v = pv3_bordes.elemento(b);
    g->AgregarCaja(TCajaGraficoXY::Crear("", v, 0, v + 0.000005, ymax));
  }
  TDAofNReal medio = Pv3Medio.copiar_rango(1, NB);
  TDAofNReal curva_medio;
  for (int b = 1; b <= NB; ++b)
    curva_medio.push_back(PotenciaCurvaS(1.225, Pv3Medio.elemento(b), ang));
  Ordenada(*g, Abscisa(*g, "Pv3Medio", medio), "F0_s", std::move(curva_medio), ninguno, rojo, 6, 2,
           false);
  TDAofNReal x_h, y_h;
  for (int b = 1; b <= NB; ++b) {
    const NReal lo = pv3_bordes.elemento(b);
    const NReal ancho = pv3_bordes.elemento(b + 1) - lo;
    for (int i = 0; i <= 9; ++i) {
      const NReal x = lo + ancho * i / 10;
      x_h.push_back(x);
      y_h.push_back(PotenciaCurvaS(1.225, x, ang));
    }
  }
  Ordenada(*g, Abscisa(*g, "Pv3_Hermit", std::move(x_h)), "PE_Curva_s", std::move(y_h), rojo, rojo,
           0, 1, false);
  TDAofNReal peso, f0;
  for (int b = 1; b <= NB; ++b) {
    peso.push_back(cnt_bin.elemento(s, b));
    f0.push_back(F0.elemento(s, b));
  }
  TSerieGrafico* xm = Abscisa(*g, "Pv3Medio", std::move(medio));
  Ordenada(*g, xm, "Peso", std::move(peso), ninguno, ColorRGB(255, 0, 255), 3, 1, true);
  Ordenada(*g, xm, "F0", std::move(f0), ninguno, rojo, 3, 2, false);
  return g;
}

void TParque_ModeloEmpirico::GraficarSector(int s, int pasada) const {
  const NReal ang = AnguloSector(s);
  // 7.
  const std::string nombre = IntATexto(TruncToInt(ang * 100)) + "_" + IntATexto(pasada) + "_" +
                             IntATexto(TruncToInt(AlfaFilt * 100)) + ".jpg";
  GraficoSector(s)->GuardarJPG(Carpeta() + "/" + nombre, 2100, 100, 1000);
}
