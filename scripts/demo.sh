#!/usr/bin/env bash
# The tool's main job on the demo farm: a gateway over SQLite seeded with the farm, a year of its
# measured series from the generator, then the whole road with modelado_ro (download the model,
# build and calibrate the calibrator, build the combined model, simulate, compute the
# restrictions). Everything lands in build/demo (or VELTRA_DEMO); the gateway stops at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target modelado_ro veltra_pasarela \
  veltra_generar_series

demo=${VELTRA_DEMO:-$PWD/build/demo}
rm -rf "$demo"
mkdir -p "$demo/raiz" "$demo/basura"
bin=build/release
central=8

# The gateway on a free loopback port; it says which once it listens.
log="$demo/pasarela.log"
"$bin/gateway/veltra_pasarela" --sqlite "$demo/parques.db" --crear-esquema \
  --cargar gateway/sql/demo_parque.sql --puerto 0 >"$log" 2>&1 &
pasarela=$!
trap 'kill "$pasarela" 2>/dev/null; wait "$pasarela" 2>/dev/null || true' EXIT
for _ in $(seq 300); do
  grep -q "escuchando en" "$log" && break
  kill -0 "$pasarela" 2>/dev/null || { cat "$log" >&2; exit 1; }
  sleep 0.1
done
puerto=$(sed -n 's/.*escuchando en .*:\([0-9][0-9]*\).*/\1/p' "$log" | head -n 1)
[ -n "$puerto" ] || { echo "la pasarela no arrancó" >&2; cat "$log" >&2; exit 1; }

export VELTRA_PASARELA="localhost:$puerto"
export VELTRA_MODELADO_RO="$demo/raiz"
export VELTRA_BASURA="$demo/basura"
ro() { echo "+ modelado_ro $*" >&2; "$bin/app/modelado_ro" "$@"; }

ro bajar --central $central
carpeta="$demo/raiz/c$central"
echo "+ veltra_generar_series (un año de la central $central)"
"$bin/tools/veltra_generar_series" "$carpeta/c${central}_series10min.sas" \
  --pmt "$carpeta/c${central}_parque_mt.pmt" --semilla 3 --consignas
ro calibrador --central $central --inf 5 --sup 95 >"$demo/calibrador.log"
echo "  (progreso en $demo/calibrador.log)"
ro calibrar --central $central --semilla 1 >"$demo/calibrar.log"
tail -n 1 "$demo/calibrar.log"
ro combinado --central $central >"$demo/combinado.log"
tail -n 1 "$demo/combinado.log"
ro simular --central $central --dir 270 --vel 9.9 --mapa "$demo/mapa_c$central.png"
ro curvas --central $central --dir 270
ro restricciones --central $central --desde 2015-01-01 --hasta 2015-12-31 \
  >"$demo/restricciones.log"
tail -n 3 "$demo/restricciones.log"

ens=$(sed -n 's/^Energía no suministrada \[MWh\]: //p' "$demo/restricciones.log")
echo
echo "Tablas y gráficos:"
echo "  central:     $carpeta (modelo .pmt, calibrador .clp, modelo combinado .pmc,"
echo "               c${central}_Restricciones_horarias.xlt, ResultadosMC_*.xlt)"
echo "  diagnóstico: $demo/basura (curvas_MW_PE_MT_27000.jpg, compartivacurvas.xlt, ...)"
echo "  mapa:        $demo/mapa_c$central.png"
echo "Energía no suministrada en las restricciones de 2015: $ens MWh"
