#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "fechas.h"
#include "xmatdefs.h"

class TDBrosxCon;
class TParque_ModeloCombinado;
class TSeriesDeDatos;

// Energy not supplied during operational restrictions: the power the farm could have given,
// estimated by the combined model and adjusted to the measured power of the last 24 hours without
// restriction, against the power it gave while it followed a set-point.

struct TPeriodoRestriccion {
  TFechaHora inicio = 0;  // first restricted sample
  TFechaHora fin = 0;     // first sample after the restriction
};

struct TEntradaEnergia {
  TFechaHora instante = 0;
  NReal energia = 0;  // MWh
};

// What a pass over a period found, for the closing summary of a run.
struct TResumenPeriodo {
  TFechaHora inicio = 0, fin = 0;
  NReal energia_scada = 0;  // MWh
  NReal energia_smec = 0;   // MWh
};

// Samples of the adjustment window: 24 hours of 10-minute data.
inline constexpr int kMuestrasVentana = 144;
// The series the computation takes by position: Vel, Ang, PE, Temp, Pre, HumRel, CGM, fDisp.
inline constexpr int kSeriesRestricciones = 8;

// Index (1-based) of the sample at or just before instant t of a series starting at t0 with
// period dt (days). An instant within a millionth of a period below a sample is that sample.
// The result is kept within 0..n + 1.
int IndiceDeMuestra(TFechaHora t, TFechaHora t0, NReal dt, int n);

// The series file read and checked for what this computation needs (at least eight series and a
// positive period).
TSeriesDeDatos LeerSeriesRestricciones(const std::string& archivo_series);

// Restriction periods of the series between desde and hasta, which come back clamped to the
// series. A period starts at a set-point strictly below PAut - 0.5 MW and ends at the first one
// strictly above it (missing set-points, -1 or below, neither start nor end one); a period running
// past hasta is followed to its end.
std::vector<TPeriodoRestriccion> BuscarPeriodosRestriccion(const TSeriesDeDatos& series,
                                                           TFechaHora& desde, TFechaHora& hasta,
                                                           NReal PAut);
std::vector<TPeriodoRestriccion> BuscarPeriodosRestriccion(const std::string& archivo_series,
                                                           TFechaHora& desde, TFechaHora& hasta,
                                                           NReal PAut);

// One pass of the combined model over the samples written (inicio_ventana..fin_ventana), after a
// warm-up of up to 144 unrestricted valid samples before them. Energy not supplied is counted in
// inicio..fin and appended to lista_ens. Writes carpeta + "/ResultadosMC_<from><to>.xlt" and, with
// con_matrices, carpeta + "/Matrices_Errores.xlt"; every sample instant and the progress lines go
// to `salida`. Returns the energy not supplied of the pass (MWh, SCADA units).
NReal ProcesarPeriodoMC(TParque_ModeloCombinado& mc, const std::string& archivo_series,
                        const std::string& carpeta, bool con_matrices,
                        std::vector<TEntradaEnergia>& lista_ens, NReal factor_smec,
                        TFechaHora inicio, TFechaHora fin, TFechaHora inicio_ventana,
                        TFechaHora fin_ventana, std::ostream& salida);
NReal ProcesarPeriodoMC(TParque_ModeloCombinado& mc, const std::string& archivo_series,
                        const std::string& carpeta, bool con_matrices,
                        std::vector<TEntradaEnergia>& lista_ens, NReal factor_smec,
                        TFechaHora inicio, TFechaHora fin, TFechaHora inicio_ventana,
                        TFechaHora fin_ventana);

// One entry per hour: an entry opens a bucket at its whole hour, and the next entries join it while
// they fall more than 5 minutes and less than 65 minutes after that hour.
std::vector<TEntradaEnergia> AgruparPorHora(const std::vector<TEntradaEnergia>& lista_ens);

std::string TextoRestriccionesHorarias(NReal factor_smec,
                                       const std::vector<TEntradaEnergia>& horaria);
void EscribirRestriccionesHorarias(const std::string& nombre, NReal factor_smec,
                                   const std::vector<TEntradaEnergia>& horaria);

// SMEC/SCADA factor of a central; a failing query raises the gateway's message, a central without
// a row raises the result set's error, a null value gives 0.
NReal FactorSMEC(TDBrosxCon& conexion, std::int32_t nid_central);

// The whole computation: the farm's combined model file, its SMEC/SCADA factor, the restriction
// periods of the series in desde..hasta, one pass per period with 4 hours of margin on each side,
// and the hourly table carpeta + "/c<nid>_Restricciones_horarias.xlt". Ends with one summary line
// per period on `salida`.
std::vector<TResumenPeriodo> ProcesarRestricciones(
    TDBrosxCon& conexion, const std::string& archivo_pmc, const std::string& archivo_series,
    TFechaHora desde, TFechaHora hasta, const std::string& carpeta, std::ostream& salida);
std::vector<TResumenPeriodo> ProcesarRestricciones(TDBrosxCon& conexion,
                                                   const std::string& archivo_pmc,
                                                   const std::string& archivo_series,
                                                   TFechaHora desde, TFechaHora hasta,
                                                   const std::string& carpeta);
