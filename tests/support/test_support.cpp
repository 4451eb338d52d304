// Temporary folders, oracle programs and PAM reading for the test programs.
#include "support/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

// fontconfig loses a block while parsing its configuration files, once per
// process; the leak checker is told so that it still reports ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace quillet::test {

TempDir::TempDir() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() /
          ("quillet-test-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

int Run(const std::string& command) {
  const int rc = std::system(command.c_str());
  if (rc == -1) return -1;
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

int RunPython(const std::string& script) {
  TempDir dir;
  const std::string file = dir.File("script.py");
  std::ofstream(file) << script;
  return Run("/usr/bin/python3 " + file);
}

bool HavePillow() {
  static const bool have = Run("/usr/bin/python3 -c 'import PIL' 2>/dev/null") == 0;
  return have;
}

bool HaveImageMagick() {
  static const bool have = Run("/usr/bin/convert -version >/dev/null 2>&1") == 0;
  return have;
}

bool ReadPam(const std::string& file, RawImage& out) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  if (!std::getline(in, line) || line != "P7") return false;
  int maxval = 0;
  while (std::getline(in, line) && line != "ENDHDR") {
    std::istringstream ls(line);
    std::string key;
    ls >> key;
    if (key == "WIDTH") ls >> out.width;
    if (key == "HEIGHT") ls >> out.height;
    if (key == "DEPTH") ls >> out.depth;
    if (key == "MAXVAL") ls >> maxval;
  }
  if (maxval != 255 || out.width <= 0 || out.height <= 0 || out.depth <= 0) return false;
  out.pixels.resize(size_t(out.width) * out.height * out.depth);
  in.read(reinterpret_cast<char*>(out.pixels.data()), std::streamsize(out.pixels.size()));
  return in.gcount() == std::streamsize(out.pixels.size());
}

bool PillowDecode(const std::string& image, const std::string& pam, bool alpha, const std::string& prelude) {
  const std::string mode = alpha ? "RGBA" : "RGB";
  const std::string tupl = alpha ? "RGB_ALPHA" : "RGB";
  const std::string depth = alpha ? "4" : "3";
  std::ostringstream s;
  s << "from PIL import Image\n"
    << "im = Image.open(r'''" << image << "''')\n"
    << prelude << "\n"
    << "im = im.convert('" << mode << "')\n"
    << "with open(r'''" << pam << "''', 'wb') as f:\n"
    << "    f.write(b'P7\\nWIDTH %d\\nHEIGHT %d\\nDEPTH " << depth << "\\nMAXVAL 255\\nTUPLTYPE " << tupl
    << "\\nENDHDR\\n' % im.size)\n"
    << "    f.write(im.tobytes())\n";
  return RunPython(s.str()) == 0;
}

std::vector<uint8_t> ReadFileBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& file, const std::vector<uint8_t>& bytes) {
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               std::streamsize(bytes.size()));
}

std::string MakeOraclePicture(const TempDir& dir) {
  const std::string png = dir.File("source.png");
  RunPython("from PIL import Image\n"
            "im = Image.new('RGB', (37, 23))\n"
            "for y in range(23):\n"
            "    for x in range(37):\n"
            "        im.putpixel((x, y), (x * 7 % 256, y * 11 % 256, (x * y) % 256 if x > 18 else 200))\n"
            "im.save(r'''" + png + "''')\n");
  return png;
}

}  // namespace quillet::test
