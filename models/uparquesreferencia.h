#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ucurvasaeros.h"
#include "uparques_modeloteorico.h"

// The reference turbine and farm layouts shared by the series generator, the timings and the
// tests, so that their figures always speak of the same farms.

// A 2 MW turbine with an 80 m rotor, cut-out at 25 m/s.
std::unique_ptr<TCurvaAerogen> CurvaReferencia2MW(NReal diametro = 80,
                                                  const std::string& modelo = "2 MW 80 m");

// filas x por_fila reference turbines 560 m (7 diameters) apart both ways, centred on the station,
// which therefore stands in the wakes; authorised power 2 MW per turbine.
std::unique_ptr<TParque_ModeloTeorico> ParqueEnRejilla(const std::string& nombre, int filas,
                                                       int por_fila, std::int32_t nid_central);

// n reference turbines in rows of five running north-south, 560 m apart, the first row 1 km east
// of the station.
std::unique_ptr<TParque_ModeloTeorico> ParqueEnFilasDeCinco(const std::string& nombre, int n,
                                                            NReal potencia_autorizada,
                                                            std::int32_t nid_central);
