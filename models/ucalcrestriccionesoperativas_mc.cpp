#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "errores.h"
#include "fechas.h"
#include "matreal.h"
#include "numtext.h"
#include "ubloquestexto.h"
#include "ucalcrestriccionesoperativas.h"
#include "ucurvasaeros.h"
#include "ufiltrosmuestras.h"
#include "umatriceserrores.h"
#include "uparques_modelocombinado.h"
#include "usalidatexto.h"
#include "useriestemporales.h"

namespace {

constexpr NReal kSinValor = -111111;

// The measured power against the modelled power without set-point over the last 144 samples that
// were valid and unrestricted.
class TVentanaAjuste {
 public:
  // Ratio of the sums over every slot, in slot order; 1 while the window is empty or its modelled
  // sum is negligible.
  [[nodiscard]] NReal Ajuste() const {
    if (j_ < 1) return 1;
    NReal sm = 0, sd = 0;
    for (int k = 1; k <= kMuestrasVentana; ++k) sd += modelada_.elemento(k);
    if (!(sd > 1e-4)) return 1;
    for (int k = 1; k <= kMuestrasVentana; ++k) sm += medida_.elemento(k);
    return sm / sd;
  }
  void Agregar(NReal medida, NReal modelada) {
    j_ = j_ % kMuestrasVentana + 1;
    medida_.poner(j_, medida);
    modelada_.poner(j_, modelada);
  }

 private:
  TVectR medida_{kMuestrasVentana};
  TVectR modelada_{kMuestrasVentana};
  int j_ = 0;
};

std::string FechaMinutos(TFechaHora t) { return FormatearFechaHora("dd-mm-yyyy hh:mm", t); }

}  // namespace

NReal ProcesarPeriodoMC(TParque_ModeloCombinado& mc, const std::string& archivo_series,
                        const std::string& carpeta, bool con_matrices,
                        std::vector<TEntradaEnergia>& lista_ens, NReal factor_smec,
                        TFechaHora inicio, TFechaHora fin, TFechaHora inicio_ventana,
                        TFechaHora fin_ventana, std::ostream& salida) {
  TParque_ModeloTeorico& mt = *mc.modelo_teorico;
  const NReal PAut = mt.potencia_autorizada_mw;
  // 1.
  std::unique_ptr<TMatricesConErroresModelos> matrices;
  if (con_matrices) {
    matrices = TMatricesConErroresModelos::Crear(mc.modelo_empirico->NSectores(),
                                                 mc.modelo_empirico->NBins(), PAut, 7, 20, 360, 25);
  }
  // 2.
  TSeriesDeDatos series = LeerSeriesRestricciones(archivo_series);
  const TVectR& Vel = series.Series[0];
  const TVectR& Ang = series.Series[1];
  const TVectR& PE = series.Series[2];
  const TVectR& Temp = series.Series[3];
  const TVectR& Pre = series.Series[4];
  const TVectR& HumRel = series.Series[5];
  const TVectR& CGM = series.Series[6];
  const int n = Vel.n();
  const TFechaHora t0 = series.FechaInicio;
  const NReal dt = series.PeriodoDias;
  if (inicio_ventana < t0) inicio_ventana = t0;
  if (fin_ventana > t0 + (n - 1) * dt) fin_ventana = t0 + (n - 1) * dt;
  const int k1 = IndiceDeMuestra(inicio_ventana, t0, dt, n);
  const int k2 = std::min(IndiceDeMuestra(fin_ventana, t0, dt, n), n);
  // 3.
  TFiltrosMuestras filtros;
  filtros.Dimensionar(n);
  if (n > 0) {
    const TSeriesFiltrado s{Vel, Ang,    series.Series[2], Temp,
                            Pre, HumRel, series.Series[6], series.Series[7]};
    FiltrarMuestras(mt, s, filtros, false, salida);
  }
  const auto invalida = [&filtros](int i) {
    return filtros.Filt_Huecos[static_cast<std::size_t>(i)] ||
           filtros.Filt_Coherencia[static_cast<std::size_t>(i)];
  };
  const auto restringida = [&filtros](int i) {
    return filtros.Filt_CGM[static_cast<std::size_t>(i)];
  };
  // 4.
  const std::string nombre = carpeta + "/ResultadosMC_" + FechaCompacta(inicio_ventana) +
                             FechaCompacta(fin_ventana) + ".xlt";
  std::string tabla;
  AgregarLineaTabla(tabla, {"dt", "Vel[m/s]", "Dir[gr]", "P_MW_Dato[MW]", "CGM_Dato[MW]",
                            "P_MW_MC_conAjCP", "pRed_conAjCP[MW]"});
  // 5. the window is full when the table starts.
  int i = k1 - 1;
  for (int c = 0; i >= 1 && c < kMuestrasVentana; --i) {
    if (!invalida(i) && !restringida(i)) ++c;
  }
  const int kini = i + 1;
  // 6.
  TVentanaAjuste ventana;
  NReal ajuste = 1;
  NReal suma = 0;
  const NReal umbral = PAut - 0.5;
  const NReal banda = 0.03 * PAut;
  for (i = kini; i <= k2; ++i) {
    // 6.1
    const TFechaHora t = t0 + (i - 1) * dt;
    const NReal v = Vel.elemento(i), dir = Ang.elemento(i), P = PE.elemento(i),
                cgm = CGM.elemento(i);
    NReal p_con = kSinValor, p_sin = kSinValor;
    // 6.2 an invalid sample leaves the adjustment and the window as they are.
    if (!invalida(i)) {
      // 6.3
      const NReal rho = DensidadAire(Temp.elemento(i), Pre.elemento(i), HumRel.elemento(i));
      mc.PotenciaMC(cgm, rho, dir, v, p_con, p_sin);
      ajuste = ventana.Ajuste();
      if (!restringida(i)) {
        ventana.Agregar(P, p_sin);
        if (matrices && i >= k1) matrices->Acumular(t, dir, v, p_con - P);
      }
    }
    if (i < k1) continue;
    // 6.4.1
    NReal p_aj = ajuste * p_sin;
    if (!(p_aj < PAut)) p_aj = PAut;
    // 6.4.2 only while the farm follows a set-point below its authorised power.
    NReal p_red = 0;
    if (inicio <= t && t <= fin && cgm > -1 && cgm < umbral && cgm - banda < P && P < cgm + banda) {
      const float r = static_cast<float>(p_aj - P);
      if (r > 0) p_red = static_cast<NReal>(r);
    }
    // 6.4.3
    if (p_red > 0) {
      lista_ens.push_back({t, p_red / 6});
      suma += p_red / 6;
    }
    // 6.4.4-5
    const std::string instante = FechaHoraATexto(t);
    salida << instante << "\n";
    AgregarLineaTabla(tabla, {instante, RealANotacionArchivo(v), RealANotacionArchivo(dir),
                              RealANotacionArchivo(P), RealANotacionArchivo(cgm),
                              RealANotacionArchivo(p_aj), RealANotacionArchivo(p_red)});
  }
  // 7.
  tabla += "\r\n";
  AgregarLineaTabla(tabla, {"Fecha inicio", "Fecha fin", " Energía no suministrada SCADA [MWh]",
                            " Factor SMEC/SCADA [p.u] ", " Energía no suministrada SMEC [MWh]"});
  AgregarLineaTabla(
      tabla, {FechaMinutos(inicio), FechaMinutos(fin - 10.0 / 1440), RealANotacionArchivo(suma),
              RealANotacionArchivo(factor_smec), RealANotacionArchivo(factor_smec * suma)});
  GrabarArchivoSeguro(nombre, tabla);
  // 8.
  if (matrices) {
    matrices->EscribirArchivo(carpeta + "/Matrices_Errores.xlt");
    matrices->Liberar();
  }
  // 9.
  salida << "Fin cálculo del Modelo Combinado\n";
  return suma;
}

NReal ProcesarPeriodoMC(TParque_ModeloCombinado& mc, const std::string& archivo_series,
                        const std::string& carpeta, bool con_matrices,
                        std::vector<TEntradaEnergia>& lista_ens, NReal factor_smec,
                        TFechaHora inicio, TFechaHora fin, TFechaHora inicio_ventana,
                        TFechaHora fin_ventana) {
  return ProcesarPeriodoMC(mc, archivo_series, carpeta, con_matrices, lista_ens, factor_smec,
                           inicio, fin, inicio_ventana, fin_ventana, std::cout);
}
