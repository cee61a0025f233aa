#pragma once

// A real gateway server on a free loopback port over a fresh farm database, for the tests of the
// models that live in it. The back end is SQLite in a temporary folder, or PostgreSQL in the
// gateway tests' throwaway cluster (skipped where PostgreSQL is not installed).

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../gateway/cluster_postgres.h"
#include "numtext.h"
#include "umotor.h"
#include "urosx.h"
#include "uservidor.h"

namespace prueba_modelos {

// Every statement the clients sent, in order, as the back end received it.
class TMotorRegistrado : public TMotorBD {
 public:
  explicit TMotorRegistrado(std::unique_ptr<TMotorBD> base) : base_(std::move(base)) {}

  TResultadoTabla Ejecutar(const std::string& sql) override {
    {
      const std::lock_guard<std::mutex> c(m_);
      sentencias_.push_back(sql);
      if (!prefijo_fallido_.empty() && sql.rfind(prefijo_fallido_, 0) == 0) {
        throw ExcepcionMotor("falla de prueba");
      }
    }
    return base_->Ejecutar(sql);
  }
  // Statements that start with `prefijo` fail from now on (an empty text: none does).
  void FallarSentencias(const std::string& prefijo) {
    const std::lock_guard<std::mutex> c(m_);
    prefijo_fallido_ = prefijo;
  }
  std::int64_t SiguienteNid(const std::string& tabla) override {
    {
      const std::lock_guard<std::mutex> c(m_);
      sentencias_.push_back("next_nid " + tabla);
    }
    return base_->SiguienteNid(tabla);
  }
  void CrearEsquema() override { base_->CrearEsquema(); }
  void CargarSemilla(const std::string& texto) override { base_->CargarSemilla(texto); }

  std::vector<std::string> Sentencias() {
    const std::lock_guard<std::mutex> c(m_);
    return sentencias_;
  }
  void OlvidarSentencias() {
    const std::lock_guard<std::mutex> c(m_);
    sentencias_.clear();
  }
  // The first column of every row of a statement run straight on the database.
  std::vector<std::string> Columna(const std::string& sql) {
    std::vector<std::string> r;
    for (const auto& fila : base_->Ejecutar(sql).filas) r.push_back(fila.at(0));
    return r;
  }

 private:
  std::unique_ptr<TMotorBD> base_;
  std::mutex m_;
  std::vector<std::string> sentencias_;
  std::string prefijo_fallido_;
};

// The back ends the suites run over.
inline std::vector<std::string> MotoresDePrueba() { return {"sqlite", "postgres"}; }

// Fixture: a gateway over an empty farm database of the back end named by the parameter.
class BaseDePrueba : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    std::unique_ptr<TMotorBD> base;
    if (GetParam() == "sqlite") {
      base = CrearMotorSQLite(carpeta_.ruta() + "/parques.db");
    } else {
      std::string motivo;
      prueba::TClusterPostgres* cluster = prueba::EntornoPostgres::Cluster(motivo);
      if (cluster == nullptr && motivo.rfind("PostgreSQL no está instalado", 0) == 0) {
        GTEST_SKIP() << motivo;
      }
      ASSERT_NE(cluster, nullptr) << motivo;
      const std::string conexion = cluster->NuevaBase();
      ASSERT_FALSE(conexion.empty()) << cluster->Registro();
      base = CrearMotorPostgres(conexion);
    }
    ASSERT_NE(base, nullptr);
    motor_ = std::make_unique<TMotorRegistrado>(std::move(base));
    motor_->CrearEsquema();
    TOpcionesServidor op;
    op.puerto = 0;
    op.registro = [](const std::string&) {};
    servidor_ = std::make_unique<TServidorPasarela>(*motor_, op);
    servidor_->Iniciar();
    con_ = std::make_unique<TDBrosxCon>("", "localhost", servidor_->puerto(), "/scripts/dovi.php");
    con_->FijarEsperas(std::chrono::seconds(5), std::chrono::seconds(30));
  }

  void Sembrar(const std::string& sql) { motor_->CargarSemilla(sql); }
  // Statements whose first word is an INSERT or an UPDATE, among those sent since `desde`.
  std::vector<std::string> Escrituras(std::size_t desde = 0) {
    std::vector<std::string> r;
    const std::vector<std::string> todas = motor_->Sentencias();
    for (std::size_t i = desde; i < todas.size(); ++i) {
      if (todas[i].rfind("INSERT", 0) == 0 || todas[i].rfind("UPDATE", 0) == 0 ||
          todas[i].rfind("DELETE", 0) == 0 || todas[i].rfind("next_nid", 0) == 0) {
        r.push_back(todas[i]);
      }
    }
    return r;
  }
  int Contar(const std::string& tabla) {
    return TextoAEntero(motor_->Columna("SELECT count(*) FROM " + tabla).at(0));
  }

  prueba::TCarpetaTemporal carpeta_;
  std::unique_ptr<TMotorRegistrado> motor_;
  std::unique_ptr<TServidorPasarela> servidor_;
  std::unique_ptr<TDBrosxCon> con_;
};

}  // namespace prueba_modelos
