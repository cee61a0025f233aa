#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "fechas.h"
#include "matreal.h"
#include "xmatdefs.h"

class TParque_ModeloTeorico;

// The measured series a filter looks at, named so that no call can swap two of them. PE and fDisp
// are changed in place (normalisation and rescaling of the availability).
struct TSeriesFiltrado {
  const TVectR& Vel;
  const TVectR& Ang;
  TVectR& PE;
  const TVectR& Temp;
  const TVectR& Pre;
  const TVectR& HumRel;
  const TVectR& CGM;
  TVectR& fDisp;
};

// The five sample flags, indexed 1..n (element 0 never used). A sample is valid when none is set.
struct TFiltrosMuestras {
  TDAOfBoolean Filt_Huecos;
  TDAOfBoolean Filt_Coherencia;
  TDAOfBoolean Filt_Disponibilidad;
  TDAOfBoolean Filt_CGM;
  TDAOfBoolean Filtro_Distancia;

  // Sizes the five arrays to n + 1 elements, all false.
  void Dimensionar(int n);
  [[nodiscard]] bool Valida(int k) const;
};

// Gap, availability, repeated-value and set-point filters, in that order, each reporting its count
// on `salida`; Filtro_Distancia is only sized and cleared. With `normalizar` the power of every
// sample that passes the availability filter is divided by its availability.
void FiltrarMuestras(const TParque_ModeloTeorico& modelo_teorico, const TSeriesFiltrado& s,
                     TFiltrosMuestras& f, bool normalizar, std::ostream& salida);
void FiltrarMuestras(const TParque_ModeloTeorico& modelo_teorico, const TSeriesFiltrado& s,
                     TFiltrosMuestras& f, bool normalizar);

// An availability given in percent or as a number of machines is rescaled to per unit.
void AjustarFDisp(TVectR& fDisp, const TParque_ModeloTeorico& modelo_teorico, std::ostream& salida);

// Marks every value but the last of each stretch of more than m equal consecutive values not
// interrupted by a skipped position; returns the length minus one of the stretches that ended.
std::int32_t MarcarRepetidos(TDAOfBoolean& marcas, const TVectR& serie, int m,
                             const TDAOfBoolean& saltar);

// Power of a sample estimated by a model: (air density, power density, direction) -> MW.
using TPotenciaEstimada = std::function<NReal(NReal rho, NReal pv3, NReal ang)>;

// Flags the valid samples whose squared deviation from the estimate ranks in the worst tenth.
void FiltrarPorDistancia(const TSeriesFiltrado& s, TFiltrosMuestras& f,
                         const TPotenciaEstimada& estimada);

// What the table and charts of the filtered samples need besides the series and flags.
struct TSalidaFiltrado {
  std::string carpeta;          // the farm's working folder
  TFechaHora fecha_inicio = 0;  // instant of sample 1
  NReal dt = 0;                 // period in days
  NReal AlfaFilt = 0;
  NReal PAut = 0;
  bool graficos = true;  // false leaves out the two charts
};

// series_filtradas.xlt and the two charts of samples and filtered samples.
void EscribirSeriesFiltradas(const TSeriesFiltrado& s, const TFiltrosMuestras& f,
                             const TSalidaFiltrado& salida);
