#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "MatEnt.h"
#include "fechas.h"
#include "matreal.h"
#include "ufiltrosmuestras.h"
#include "uparques_modeloteorico.h"
#include "useriestemporales.h"
#include "xmatdefs.h"

// How a farm actually produced, from its measured 10-minute series: after the bad samples are
// filtered out, the directions are split into overlapping sectors and each sector keeps an S curve
// of power against density-normalised speed and straight lines of power against pv3 over bins.
class TGrafico;

// A sample instant of the day (07:00 to before 20:00) rather than the night, cut after rounding it
// to the millisecond so an exact hour never falls into the previous one.
[[nodiscard]] bool EsMuestraDeDia(TFechaHora t);

class TParque_ModeloEmpirico {
 public:
  // Builds the model from a series file: filters, two fitting passes with the distance filter
  // between them, and the tables and charts of the farm's working folder. Progress lines go to
  // `salida`; `graficos` false leaves out the JPEG charts (the tables are always written).
  static std::unique_ptr<TParque_ModeloEmpirico> CrearDesdeSeries(
      std::shared_ptr<const TParque_ModeloTeorico> modelo_teorico,
      const std::string& archivo_series, int pct_inf, int pct_sup, std::ostream& salida,
      bool graficos = true);
  static std::unique_ptr<TParque_ModeloEmpirico> CrearDesdeSeries(
      std::shared_ptr<const TParque_ModeloTeorico> modelo_teorico,
      const std::string& archivo_series, int pct_inf, int pct_sup);
  // The model's block of a calibrator file: the curves only.
  static std::unique_ptr<TParque_ModeloEmpirico> CrearDesdeTexto(
      std::istream& archivo, std::shared_ptr<const TParque_ModeloTeorico> modelo_teorico);
  void EscribirTexto(std::ostream& archivo) const;

  TParque_ModeloEmpirico(const TParque_ModeloEmpirico&) = delete;
  TParque_ModeloEmpirico& operator=(const TParque_ModeloEmpirico&) = delete;
  ~TParque_ModeloEmpirico() = default;

  [[nodiscard]] int NSectores() const { return a0.n_filas(); }
  [[nodiscard]] int NBins() const { return pv3_bordes.n() - 1; }
  [[nodiscard]] NReal AnguloSector(int s) const;
  // The two sectors that bracket a direction and their weights; any direction is taken modulo 360.
  void PesosSector(NReal ang, int& k1, int& k2, NReal& w1, NReal& w2) const;
  // Farm power (MW) from the S curves, never above the authorised power.
  [[nodiscard]] NReal PotenciaCurvaS(NReal rho, NReal pv3, NReal ang) const;
  // Farm power (MW) from the bin lines; peso is the number of samples behind it, -1 (and power 0)
  // where the lines are not trusted.
  [[nodiscard]] NReal PotenciaBinada(NReal rho, NReal pv3, NReal ang, NReal& peso) const;

  // Sector clusters, S curves (completed where a sector has too few samples) and bin lines.
  void AjustarSectores(int NS, int NB, int pct_sup, int pct_inf, int pasada, NReal fraccion);

  // Outputs of the construction, written into the farm's working folder.
  void EscribirCurvasS() const;
  void EscribirCurvasCompletadas() const;
  void GraficarSector(int s, int pasada) const;
  // The chart of one sector as GraficarSector saves it.
  [[nodiscard]] std::unique_ptr<TGrafico> GraficoSector(int s) const;

  std::shared_ptr<const TParque_ModeloTeorico> modelo_teorico;
  std::unique_ptr<TSeriesDeDatos> datos;
  std::int32_t n_muestras = 0;
  TFechaHora fecha_inicio = 0;
  NReal dt = 0;
  // The series of `datos` (not copies); null in a model read from text.
  TVectR* Vel = nullptr;
  TVectR* Ang = nullptr;
  TVectR* PE = nullptr;
  TVectR* Temp = nullptr;
  TVectR* Pre = nullptr;
  TVectR* HumRel = nullptr;
  TVectR* CGM = nullptr;
  TVectR* fDisp = nullptr;
  TVectR* extra = nullptr;
  TVectR tiempos;
  TFiltrosMuestras filtros;
  NReal AlfaFilt = 0;

  TVectR cl_pv3, cl_pe, cl_extra, cl_tiempo;
  TVectR pv3_bordes;
  TVectR Pv3Medio;
  TMatR cnt_bin{0, 0};
  TMatR a0{0, 0};
  TMatR a1{0, 0};
  TMatR F0{0, 0};
  TVectR alfa, vm, errc2;
  TVectE cntMuestras;
  TMatR alfa_completo{0, 0};
  TMatR vm_completo{0, 0};

  // The sorted cluster of each sector of the last pass, kept for its chart.
  struct TCluster {
    TVectR pv3{0}, pe{0}, tiempo{0};
  };
  std::vector<TCluster> clusters;

 private:
  TParque_ModeloEmpirico() = default;
  [[nodiscard]] TSeriesFiltrado Series() const;
  [[nodiscard]] std::string Carpeta() const;
  void AjustarCurvaS(int s, int pct_sup, int pct_inf);
  void AjustarBin(int s, int b);
  void EscribirCurvaSDepuracion(const std::vector<NReal>& v, const std::vector<NReal>& y,
                                NReal Pmax, NReal alfa_s, NReal vm_s) const;

  std::ostream* salida_ = nullptr;
  bool graficos_ = true;
};
