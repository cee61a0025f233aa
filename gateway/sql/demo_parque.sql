-- Demo farm: one central with its meteorological station, five turbines of one model and
-- their power curve (speeds in m/s, powers in MW). Loading it twice changes nothing.
INSERT INTO centrales (nid, centralgeneradora, potencia_autorizada_mw, meteo_utm_zona, meteo_utm_huso,
                       meteo_utm_xe, meteo_utm_yn, meteo_cota, factor_smec_scada)
  VALUES (8, 'Parque Demo', 10, 'H', 21, 600000, 6200000, 120, 1.02) ON CONFLICT DO NOTHING;
INSERT INTO curvas_aerogen (nid, modelo, diametro, curva_v, curva_P)
  VALUES (1, 'DEMO-2000/90', 90, '[ 23| 3;  4;  5;  6;  7;  8;  9;  10;  11;  12;  13;  14;  15;  16;  17;  18;  19;  20;  21;  22;  23;  24;  25]',
          '[ 23| 0;  0.06;  0.17;  0.33;  0.55;  0.84;  1.2;  1.55;  1.8;  1.93;  1.98;  2;  2;  2;  2;  2;  2;  2;  2;  2;  2;  2;  2]') ON CONFLICT DO NOTHING;
INSERT INTO molinos (nid, nid_curvaaero, nidcentral, nro, etha, zona_utm, huso_utm, xe, yn) VALUES
  (801, 1, 8, 1, 1, 'H', 21, 600400, 6200250),
  (802, 1, 8, 2, 1, 'H', 21, 600700, 6200290),
  (803, 1, 8, 3, 1, 'H', 21, 601000, 6200330),
  (804, 1, 8, 4, 1, 'H', 21, 601300, 6200370),
  (805, 1, 8, 5, 1, 'H', 21, 601600, 6200410)
  ON CONFLICT DO NOTHING;
