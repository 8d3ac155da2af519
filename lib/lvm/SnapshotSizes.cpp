// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SnapshotSizes.h"

#include <algorithm>
#include <charconv>

namespace {

[[nodiscard]] uint64_t divideRoundingUp(uint64_t value, uint64_t divisor)
{
    return value / divisor + (value % divisor == 0 ? 0 : 1);
}

// Exceptions of one metadata chunk: 16 bytes each.
constexpr uint64_t kExceptionBytes = 16;

} // namespace

uint64_t fullSnapshotExtents(const SnapshotGeometry& geometry)
{
    if (geometry.extentSize == 0) {
        return 0;
    }
    const uint64_t chunk = geometry.chunkSize == 0 ? kChunkSize : geometry.chunkSize;
    const uint64_t originChunks = divideRoundingUp(geometry.originSize, chunk);
    const uint64_t chunksPerMetadataArea = chunk / kExceptionBytes;
    // One more metadata chunk than a plain division gives: a full last area needs a terminator.
    const uint64_t metadataChunks = (originChunks + chunksPerMetadataArea) / chunksPerMetadataArea;
    const uint64_t bytes = (1 + originChunks + metadataChunks) * chunk;
    return divideRoundingUp(bytes, geometry.extentSize);
}

uint64_t extentsForSize(uint64_t size, const SnapshotGeometry& geometry)
{
    const uint64_t full = fullSnapshotExtents(geometry);
    if (size == 0 || size >= geometry.originSize || geometry.extentSize == 0) {
        return full;
    }
    return std::min(full, size / geometry.extentSize);
}

uint64_t answeredSize(uint64_t size, const SnapshotGeometry& geometry)
{
    return size == 0 || size > geometry.originSize ? geometry.originSize : size;
}

uint64_t percentHundredths(std::string_view percent)
{
    const size_t dot = percent.find('.');
    const std::string_view whole = percent.substr(0, dot);
    std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : percent.substr(dot + 1);
    uint64_t units = 0;
    (void)std::from_chars(whole.data(), whole.data() + whole.size(), units);
    uint64_t hundredths = 0;
    for (size_t i = 0; i < 2; ++i) {
        const char digit = i < fraction.size() ? fraction[i] : '0';
        hundredths = hundredths * 10 + (digit >= '0' && digit <= '9' ? uint64_t(digit - '0') : 0);
    }
    return units * 100 + hundredths;
}

uint64_t usedBytes(uint64_t size, uint64_t hundredths)
{
    // Split so that sizes of many TiB do not overflow the product.
    const uint64_t whole = size / 10000 * hundredths;
    return whole + divideRoundingUp(size % 10000 * hundredths, 10000);
}
