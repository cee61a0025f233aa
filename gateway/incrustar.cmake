# Writes the schema files into a C++ source as raw strings: cmake -DSALIDA=... -DSQLITE=... -DPOSTGRES=... -P
file(READ ${SQLITE} _sqlite)
file(READ ${POSTGRES} _postgres)
file(WRITE ${SALIDA}
  "// Generated from the schema files; edit those instead.\n"
  "#include \"umotor.h\"\n"
  "const char* const kEsquemaSQLite = R\"veltra_sql(${_sqlite})veltra_sql\";\n"
  "const char* const kEsquemaPostgres = R\"veltra_sql(${_postgres})veltra_sql\";\n")
