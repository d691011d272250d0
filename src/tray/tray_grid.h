#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The classic 16 x 16 grid laid over a picture of Size pixels: classic column c starts at pixel X(c), classic
// row r at pixel Y(r). Coordinates outside 0-16 continue the grid at Size / 16 pixels a step.
class TrayGrid {
  public:
    // thinColumns and thinRows are bit masks (bit c for classic column or row c) of one-pixel lines that should
    // keep the narrowest width.
    TrayGrid(int size, uint32_t thinColumns, uint32_t thinRows);

    int Size() const { return size_; }
    int X(int c) const { return Edge(xs_, c); }
    int Y(int r) const { return Edge(ys_, r); }

  private:
    using Edges = std::array<int, 17>;
    static void Spread(Edges& edges, int size, uint32_t thin);
    int Edge(const Edges& edges, int c) const {
        return c < 0 ? c * (size_ / 16) : c > 16 ? size_ + (c - 16) * (size_ / 16) : edges[static_cast<size_t>(c)];
    }

    int size_;
    Edges xs_{};
    Edges ys_{};
};
