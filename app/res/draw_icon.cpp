// Draws forcequit's icon, a grey waste bin on a transparent background, and writes it as a
// one-image .ico file (32 x 32, 32 bits per pixel with alpha). Runs on the build machine.
//   draw_icon OUTPUT.ico
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kSamples = 8;  // per axis: 64 samples smooth each pixel's edge into its alpha
constexpr uint8_t kGrey = 112;

bool InRect(double x, double y, double l, double t, double r, double b) {
    return x >= l && x < r && y >= t && y < b;
}

// Inside the rounded rectangle's band of the given stroke width.
bool InRoundedFrame(double x, double y, double l, double t, double r, double b, double radius, double stroke) {
    auto inside = [](double x, double y, double l, double t, double r, double b, double rad) {
        if (!InRect(x, y, l, t, r, b))
            return false;
        double cx = x < l + rad ? l + rad : x > r - rad ? r - rad : x;
        double cy = y < t + rad ? t + rad : y > b - rad ? b - rad : y;
        return std::hypot(x - cx, y - cy) <= rad;
    };
    return inside(x, y, l, t, r, b, radius) &&
           !inside(x, y, l + stroke, t + stroke, r - stroke, b - stroke, radius > stroke ? radius - stroke : 0);
}

// The bin, in pixel coordinates of the 32 x 32 image.
bool InBin(double x, double y) {
    bool handle = InRoundedFrame(x, y, 12, 2.5, 20, 9, 1.5, 2) && y < 7.5;
    bool lid = InRoundedFrame(x, y, 4, 7, 28, 10.5, 1.5, 3.5);
    // Body: a trapezoid outline, 20 wide at the top narrowing to 16 at the bottom.
    double inset = (y - 11.5) * 2.0 / 18.0;
    bool inBody = y >= 11.5 && y < 29.5 && x >= 6 + inset && x < 26 - inset;
    bool inHollow = y < 27.5 && x >= 8 + inset && x < 24 - inset;
    bool body = inBody && !inHollow;
    bool bars = InRect(x, y, 12, 14.5, 14, 25) || InRect(x, y, 18, 14.5, 20, 25);
    return handle || lid || body || bars;
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_icon OUTPUT.ico\n");
        return 2;
    }
    const unsigned pixelBytes = kSize * kSize * 4;
    const unsigned maskBytes = kSize * 4;  // 1 bit per pixel, rows padded to 32 bits
    const unsigned imageBytes = 40 + pixelBytes + maskBytes;

    std::vector<uint8_t> ico;
    Put16(ico, 0);  // ICONDIR: reserved, type 1 (icon), one image
    Put16(ico, 1);
    Put16(ico, 1);
    ico.push_back(kSize);  // ICONDIRENTRY
    ico.push_back(kSize);
    ico.push_back(0);  // no palette
    ico.push_back(0);
    Put16(ico, 1);   // planes
    Put16(ico, 32);  // bits per pixel
    Put32(ico, imageBytes);
    Put32(ico, 6 + 16);
    Put32(ico, 40);  // BITMAPINFOHEADER; the height counts the colour rows and the mask rows
    Put32(ico, kSize);
    Put32(ico, kSize * 2);
    Put16(ico, 1);
    Put16(ico, 32);
    for (int i = 0; i < 6; i++)
        Put32(ico, i == 1 ? pixelBytes + maskBytes : 0);
    for (int row = kSize - 1; row >= 0; row--) {  // bottom-up
        for (int col = 0; col < kSize; col++) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; sy++)
                for (int sx = 0; sx < kSamples; sx++)
                    hits += InBin(col + (sx + 0.5) / kSamples, row + (sy + 0.5) / kSamples);
            uint8_t alpha = static_cast<uint8_t>((hits * 255 + kSamples * kSamples / 2) / (kSamples * kSamples));
            uint8_t grey = alpha ? kGrey : 0;
            ico.insert(ico.end(), {grey, grey, grey, alpha});  // B, G, R, A
        }
    }
    ico.insert(ico.end(), maskBytes, 0);  // the alpha channel decides; the AND mask lets all through

    FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(ico.data(), 1, ico.size(), f) != ico.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
