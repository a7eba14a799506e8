#include "tools/capture/edge_figure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace Quorvel::Capture {

std::vector<std::uint8_t> halveSize(const std::vector<std::uint8_t>& rgba, int width, int height) {
    if (rgba.size() != std::size_t(width) * std::size_t(height) * 16u)
        throw std::invalid_argument("the larger picture is not twice the size");
    std::vector<std::uint8_t> half(std::size_t(width) * std::size_t(height) * 4u);
    const std::size_t row = std::size_t(width) * 2u * 4u;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c) {
                const std::size_t a = std::size_t(2 * y) * row + std::size_t(2 * x) * 4u + std::size_t(c);
                const int sum = rgba[a] + rgba[a + 4] + rgba[a + row] + rgba[a + row + 4];
                half[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4u + std::size_t(c)] =
                    std::uint8_t((sum + 2) / 4);
            }
    return half;
}

std::vector<std::size_t> strongestEdges(const std::vector<std::uint8_t>& rgba, int width, int height, double share) {
    auto luminance = [&](int x, int y) {
        const std::size_t p = (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4u;
        return 0.2126 * rgba[p] + 0.7152 * rgba[p + 1] + 0.0722 * rgba[p + 2];
    };
    std::vector<std::pair<double, std::size_t>> gradients;
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < width; ++x) {
            const double gx = luminance(x + 1, y) - luminance(x - 1, y);
            const double gy = luminance(x, y + 1) - luminance(x, y - 1);
            gradients.push_back({std::hypot(gx, gy), std::size_t(y) * std::size_t(width) + std::size_t(x)});
        }
    const std::size_t keep = std::min(gradients.size(), std::size_t(std::ceil(double(gradients.size()) * share)));
    std::partial_sort(gradients.begin(), gradients.begin() + std::ptrdiff_t(keep), gradients.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first || (a.first == b.first && a.second < b.second); });
    std::vector<std::size_t> positions;
    for (std::size_t k = 0; k < keep; ++k) positions.push_back(gradients[k].second);
    return positions;
}

double staircaseFigure(const std::vector<std::uint8_t>& frame, int width, int height,
                       const std::vector<std::uint8_t>& twiceAsLarge) {
    if (frame.size() != std::size_t(width) * std::size_t(height) * 4u) throw std::invalid_argument("frame size");
    const std::vector<std::uint8_t> smooth = halveSize(twiceAsLarge, width, height);
    const std::vector<std::size_t> edges = strongestEdges(smooth, width, height, 0.05);
    if (edges.empty()) return 0.0;
    double sum = 0.0;
    for (std::size_t p : edges)
        for (int c = 0; c < 3; ++c) sum += std::abs(int(frame[p * 4u + std::size_t(c)]) - int(smooth[p * 4u + std::size_t(c)]));
    return sum / (3.0 * double(edges.size()));
}

}  // namespace Quorvel::Capture
