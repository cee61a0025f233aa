-- Farm database (SQLite). Safe to run on an existing database: only missing tables are created.
CREATE TABLE IF NOT EXISTS centrales (
  nid INTEGER PRIMARY KEY,
  centralgeneradora TEXT,
  potencia_autorizada_mw REAL,
  meteo_utm_zona TEXT,
  meteo_utm_huso INTEGER,
  meteo_utm_xe REAL,
  meteo_utm_yn REAL,
  meteo_cota REAL,
  factor_smec_scada REAL
);
CREATE TABLE IF NOT EXISTS curvas_aerogen (
  nid INTEGER PRIMARY KEY,
  modelo TEXT,
  diametro REAL,
  curva_v TEXT,
  curva_P TEXT
);
CREATE TABLE IF NOT EXISTS molinos (
  nid INTEGER PRIMARY KEY,
  nid_curvaaero INTEGER,
  nidcentral INTEGER,
  nro INTEGER,
  etha REAL,
  zona_utm TEXT,
  huso_utm INTEGER,
  xe REAL,
  yn REAL
);
CREATE INDEX IF NOT EXISTS molinos_nidcentral ON molinos (nidcentral);
-- central may also be a supercentral's combined identifier, which is not a row of centrales.
CREATE TABLE IF NOT EXISTS modelo_teorico (
  nid INTEGER PRIMARY KEY,
  central INTEGER,
  dt_creacion TEXT,
  dt_actualizacion TEXT,
  n_sectores_dir INTEGER,
  alfa_terreno REAL,
  gamma_atmosfera REAL,
  fpv3pe REAL,
  factor_perdidas REAL,
  potencia_autorizada_mw REAL,
  potencia_nominal REAL,
  meteo_etha TEXT,
  meteo_utm_zona TEXT,
  meteo_utm_huso INTEGER,
  meteo_utm_xe REAL,
  meteo_utm_yn REAL,
  meteo_cota REAL,
  grilla_rotada_dx REAL,
  grilla_rotada_dy REAL,
  grilla_rotada_margen_dx REAL
);
CREATE INDEX IF NOT EXISTS modelo_teorico_central ON modelo_teorico (central, dt_creacion);
CREATE TABLE IF NOT EXISTS modelo_teorico_etha_molinos (
  nid_modelo INTEGER NOT NULL,
  nid_molino INTEGER NOT NULL,
  etha REAL,
  PRIMARY KEY (nid_modelo, nid_molino)
);
-- The gateway's own: the last identifier handed out per table, so that two clients asking at
-- once never get the same one. Statements from clients cannot reach it.
CREATE TABLE IF NOT EXISTS pasarela_nids (
  tabla TEXT PRIMARY KEY,
  ultimo INTEGER NOT NULL
);
