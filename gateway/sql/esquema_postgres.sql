-- Farm database (PostgreSQL). Safe to run on an existing database: only missing tables are created.
CREATE TABLE IF NOT EXISTS centrales (
  nid integer PRIMARY KEY,
  centralgeneradora text,
  potencia_autorizada_mw double precision,
  meteo_utm_zona text,
  meteo_utm_huso integer,
  meteo_utm_xe double precision,
  meteo_utm_yn double precision,
  meteo_cota double precision,
  factor_smec_scada double precision
);
CREATE TABLE IF NOT EXISTS curvas_aerogen (
  nid integer PRIMARY KEY,
  modelo text,
  diametro double precision,
  curva_v text,
  curva_P text
);
CREATE TABLE IF NOT EXISTS molinos (
  nid integer PRIMARY KEY,
  nid_curvaaero integer,
  nidcentral integer,
  nro integer,
  etha double precision,
  zona_utm text,
  huso_utm integer,
  xe double precision,
  yn double precision
);
CREATE INDEX IF NOT EXISTS molinos_nidcentral ON molinos (nidcentral);
-- central may also be a supercentral's combined identifier, which is not a row of centrales.
CREATE TABLE IF NOT EXISTS modelo_teorico (
  nid integer PRIMARY KEY,
  central integer,
  dt_creacion timestamp,
  dt_actualizacion timestamp,
  n_sectores_dir integer,
  alfa_terreno double precision,
  gamma_atmosfera double precision,
  fpv3pe double precision,
  factor_perdidas double precision,
  potencia_autorizada_mw double precision,
  potencia_nominal double precision,
  meteo_etha text,
  meteo_utm_zona text,
  meteo_utm_huso integer,
  meteo_utm_xe double precision,
  meteo_utm_yn double precision,
  meteo_cota double precision,
  grilla_rotada_dx double precision,
  grilla_rotada_dy double precision,
  grilla_rotada_margen_dx double precision
);
CREATE INDEX IF NOT EXISTS modelo_teorico_central ON modelo_teorico (central, dt_creacion);
CREATE TABLE IF NOT EXISTS modelo_teorico_etha_molinos (
  nid_modelo integer NOT NULL,
  nid_molino integer NOT NULL,
  etha double precision,
  PRIMARY KEY (nid_modelo, nid_molino)
);
-- The gateway's own: the last identifier handed out per table, so that two clients asking at
-- once never get the same one. Statements from clients cannot reach it.
CREATE TABLE IF NOT EXISTS pasarela_nids (
  tabla text PRIMARY KEY,
  ultimo integer NOT NULL
);
