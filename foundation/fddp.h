#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "xmatdefs.h"

// Probability distribution on [x_min, x_max]. The generic operations integrate densidad and
// invert distribucion by bisection; sortear inverts a draw of the uniform source madre.
class Tf_ddp {
 public:
  Tf_ddp(std::int32_t semilla, NReal area_max, NReal x_max, NReal area_min, NReal x_min);
  virtual ~Tf_ddp() = default;
  Tf_ddp(const Tf_ddp&) = delete;
  Tf_ddp& operator=(const Tf_ddp&) = delete;

  virtual NReal densidad(NReal x);
  virtual NReal distribucion(NReal x);
  virtual NReal distribucion_integral(NReal x);
  virtual NReal distribucion_incremental(NReal x);
  virtual NReal inversa(NReal area);
  virtual NReal sortear();
  virtual void fijar_semilla(std::int32_t s);

  // The uniform source of sortear: owned, or lent by a caller that outlives this object.
  void fijar_madre(std::unique_ptr<Tf_ddp> madre);
  void fijar_madre(Tf_ddp& madre);
  [[nodiscard]] bool madre_propia() const { return madre_propia_ != nullptr; }
  [[nodiscard]] Tf_ddp* madre() const { return madre_; }

  std::int32_t semilla;
  NReal paso = 0.0;
  NReal area_min;
  NReal x_min;
  NReal area_max;
  NReal x_max;
  NReal area_acum;
  NReal x_ult;
  NReal area_objetivo = 0.0;

 private:
  std::unique_ptr<Tf_ddp> madre_propia_;
  Tf_ddp* madre_ = nullptr;
};

// Uniform distribution on [0, 1) drawn by the subtractive generator: the same seed always gives
// the same sequence, bit for bit.
class TMadreUniforme final : public Tf_ddp {
 public:
  explicit TMadreUniforme(std::int32_t s);

  NReal densidad(NReal x) override;
  NReal distribucion(NReal x) override;
  NReal distribucion_integral(NReal x) override;
  NReal distribucion_incremental(NReal x) override;
  NReal inversa(NReal area) override;
  NReal sortear() override;
  void fijar_semilla(std::int32_t s) override;

  std::int32_t inext = 0;
  std::int32_t inextp = 0;
  std::array<std::int32_t, 56> ma{};  // 1..55; slot 0 unused
};
