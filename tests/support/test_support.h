// Helpers shared by the test programs: temporary folders, running the
// independent oracle programs (Pillow, ImageMagick) and reading PAM files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quillet::test {

// A fresh folder under the system temp folder, removed when the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Runs a shell command; returns its exit status (-1 when it could not run).
int Run(const std::string& command);
// Runs Debian's python3 (with Pillow) on a script given as text.
int RunPython(const std::string& script);

// A 37 x 23 PNG with smooth areas and hard edges, drawn by Pillow in `dir`;
// returns its path.
std::string MakeOraclePicture(const TempDir& dir);

// True when the oracle is installed: /usr/bin/python3 with PIL, /usr/bin/convert.
bool HavePillow();
bool HaveImageMagick();

// An RGB(A) image read from a PAM file, rows top to bottom.
struct RawImage {
  int width = 0, height = 0, depth = 0;
  std::vector<uint8_t> pixels;
  const uint8_t* At(int x, int y) const { return pixels.data() + (size_t(y) * width + x) * depth; }
};
bool ReadPam(const std::string& file, RawImage& out);

// Pillow decodes `image` and writes it as RGB (or RGBA) PAM to `pam`;
// `prelude` is Python run on the opened image `im` before its conversion.
bool PillowDecode(const std::string& image, const std::string& pam, bool alpha = false,
                  const std::string& prelude = "");

std::vector<uint8_t> ReadFileBytes(const std::string& file);
void WriteFileBytes(const std::string& file, const std::vector<uint8_t>& bytes);

}  // namespace quillet::test
