#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <vector>

// Dense 1-based vector of 32-bit integers: n + 1 slots, slot 0 never read; indices are asserted in
// debug builds only.
class TVectE {
 public:
  explicit TVectE(int n = 0);

  [[nodiscard]] int n() const { return n_; }
  [[nodiscard]] std::int32_t elemento(int i) const { return v_[pos(i)]; }
  void poner(int i, std::int32_t x) { v_[pos(i)] = x; }
  void ceros();
  void print() const;
  void print(std::ostream& salida) const;

 private:
  [[nodiscard]] std::size_t pos(int i) const {
    assert(i >= 1 && i <= n_);
    return static_cast<std::size_t>(i);
  }

  int n_;
  std::vector<std::int32_t> v_;
};
