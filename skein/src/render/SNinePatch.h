#pragma once
// Edges of a nine-part bitmap draw along one axis: columns (or rows) 0..2 run from edge i to
// edge i + 1, in the destination and in the source.
namespace SKEIN {

struct SNinePatchAxis {
    int dest[4];
    int src[4];

    // The start, middle and end parts of the source keep their widths (margins) in the
    // destination while it is wide enough; a narrower destination drops the middle, then one
    // margin. False when the margins don't fit the source.
    bool Compute(int destStart, int destEnd, int srcStart, int srcEnd, int marginStart, int marginEnd);
};

} // namespace SKEIN
