#pragma once

#include <memory>

#include "uparques_modeloteorico.h"

// A small farm to try the tool without a database or model files: eight 2 MW turbines with 80 m
// rotors in two columns of four, 500 m and 1100 m east of the meteorological station, 15 MW
// authorised, default parameters.
std::unique_ptr<TParque_ModeloTeorico> CrearParqueDemo();
