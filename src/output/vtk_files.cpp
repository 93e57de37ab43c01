#include "output/vtk_files.hpp"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <ostream>

#ifdef KORVANT_HAVE_ZLIB
#include <zlib.h>
#endif

#include "section/layer_table.hpp"

namespace korvant {
namespace {

namespace fs = std::filesystem;

// The shortest text that reads back as the same double.
std::string shortest(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

// `text` as the value of an XML attribute.
std::string attribute(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string extent(const DifferenceGrid& g) {
  return "0 " + std::to_string(g.NUMA - 1) + " 0 " + std::to_string(g.NUMB - 1) + " 0 0";
}

void writeHead(std::ostream& out, const char* type, bool compressed = false) {
  out << "<?xml version=\"1.0\"?>\n"
      << "<VTKFile type=\"" << type << "\" version=\"0.1\" byte_order=\"LittleEndian\""
      << (compressed ? " compressor=\"vtkZLibDataCompressor\"" : "") << ">\n";
}

// The binary values of this build are compressed.
constexpr bool kCompressed =
#ifdef KORVANT_HAVE_ZLIB
    true;
#else
    false;
#endif

void writeFieldData(std::ostream& out, const std::vector<VtkNumber>& numbers) {
  if (numbers.empty()) return;
  out << "    <FieldData>\n";
  for (const VtkNumber& n : numbers)
    out << "      <DataArray type=\"Float64\" Name=\"" << attribute(n.name)
        << "\" NumberOfTuples=\"1\" format=\"ascii\">" << shortest(n.value) << "</DataArray>\n";
  out << "    </FieldData>\n";
}

// VTK's points run along the first index fastest: x (J) inside y (I), where the records run
// I inside J. `each(n)` writes the values of record n.
template <typename Each>
void byVtkPoints(const DifferenceGrid& g, Each each) {
  for (int I = 1; I <= g.NUMB; ++I)
    for (int J = 1; J <= g.NUMA; ++J) each(pointRecord(I, J, g.NUMB), I, J);
}

// Base64 (RFC 4648) of `bytes`, padded with '='.
std::string base64(const std::vector<unsigned char>& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t k = 0; k < bytes.size(); k += 3) {
    const std::size_t left = bytes.size() - k;
    const unsigned v =
        bytes[k] << 16 | (left > 1 ? bytes[k + 1] << 8 : 0) | (left > 2 ? bytes[k + 2] : 0);
    text += kDigits[v >> 18 & 63];
    text += kDigits[v >> 12 & 63];
    text += left > 1 ? kDigits[v >> 6 & 63] : '=';
    text += left > 2 ? kDigits[v & 63] : '=';
  }
  return text;
}

// Little-endian bytes of an unsigned value of `size` bytes (the bytes of a double's bits).
void appendLittleEndian(std::vector<unsigned char>& bytes, std::uint64_t value, int size) {
  for (int b = 0; b < size; ++b) bytes.push_back(static_cast<unsigned char>(value >> (8 * b)));
}

// The values of an inline binary array. Uncompressed: the 32-bit count of their bytes, then
// the doubles, in base64. Compressed with zlib (the file names vtkZLibDataCompressor): the
// header of one block (1, its size, 0 for a full last block, its compressed size) in base64,
// then the compressed block in base64, as VTK's XML readers take it.
std::string binaryBlock(const std::vector<double>& values) {
  std::vector<unsigned char> raw;
  raw.reserve(8 * values.size());
  for (double v : values) appendLittleEndian(raw, std::bit_cast<std::uint64_t>(v), 8);
  std::vector<unsigned char> header;
#ifdef KORVANT_HAVE_ZLIB
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> packed(packedSize);
  compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6);
  packed.resize(packedSize);
  for (std::uint64_t h :
       {std::uint64_t{1}, std::uint64_t{raw.size()}, std::uint64_t{0}, std::uint64_t{packedSize}})
    appendLittleEndian(header, h, 4);
  return base64(header) + base64(packed);
#else
  appendLittleEndian(header, raw.size(), 4);
  header.insert(header.end(), raw.begin(), raw.end());
  return base64(header);
#endif
}

// The values of an array (m components a point) in VTK's order of points.
template <typename Value>
std::vector<double> inVtkOrder(const DifferenceGrid& g, int m, Value value) {
  std::vector<double> values;
  values.reserve(static_cast<std::size_t>(g.NUMA * g.NUMB * m));
  byVtkPoints(g, [&](int n, int I, int J) {
    for (int c = 0; c < m; ++c) values.push_back(value(n, I, J, c));
  });
  return values;
}

// The values written as the encoding says, each point a line of text or one block of base64.
void writeValues(std::ostream& out, const std::vector<double>& values, int m,
                 VtkEncoding encoding) {
  if (encoding == VtkEncoding::Base64) {
    out << "          " << binaryBlock(values) << '\n';
    return;
  }
  for (std::size_t k = 0; k < values.size(); k += static_cast<std::size_t>(m)) {
    out << "         ";
    for (int c = 0; c < m; ++c) out << ' ' << shortest(values[k + static_cast<std::size_t>(c)]);
    out << '\n';
  }
}

const char* formatName(VtkEncoding encoding) {
  return encoding == VtkEncoding::Base64 ? "binary" : "ascii";
}

void writeArray(std::ostream& out, const DifferenceGrid& g, const VtkArray& a,
                VtkEncoding encoding) {
  const int m = a.componentCount();
  out << "        <DataArray type=\"Float64\" Name=\"" << attribute(a.name) << "\"";
  if (m > 1) out << " NumberOfComponents=\"" << m << "\"";
  for (std::size_t c = 0; c < a.components.size(); ++c)
    out << " ComponentName" << c << "=\"" << attribute(a.components[c]) << "\"";
  if (!a.units.empty()) out << " units=\"" << attribute(a.units) << "\"";
  out << " format=\"" << formatName(encoding) << "\">\n";
  writeValues(out,
              inVtkOrder(g, m,
                         [&](int n, int, int, int c) {
                           return a.values[static_cast<std::size_t>((n - 1) * m + c)];
                         }),
              m, encoding);
  out << "        </DataArray>\n";
}

void writeGrid(std::ostream& out, const VtkDataset& d, VtkEncoding encoding) {
  const DifferenceGrid& g = d.grid;
  writeHead(out, "StructuredGrid", encoding == VtkEncoding::Base64 && kCompressed);
  out << "  <StructuredGrid WholeExtent=\"" << extent(g) << "\">\n";
  writeFieldData(out, d.fieldData);
  out << "    <Piece Extent=\"" << extent(g) << "\">\n";
  out << "      <PointData";
  if (!d.pointData.empty()) out << " Scalars=\"" << attribute(d.pointData.front().name) << "\"";
  out << ">\n";
  for (const VtkArray& a : d.pointData) writeArray(out, g, a, encoding);
  out << "      </PointData>\n"
      << "      <Points>\n"
      << "        <DataArray type=\"Float64\" NumberOfComponents=\"3\" format=\""
      << formatName(encoding) << "\">\n";
  writeValues(out,
              inVtkOrder(g, 3,
                         [&](int, int I, int J, int c) {
                           return c == 0 ? g.x(J) : c == 1 ? g.y(I) : 0.0;
                         }),
              3, encoding);
  out << "        </DataArray>\n"
      << "      </Points>\n"
      << "    </Piece>\n"
      << "  </StructuredGrid>\n"
      << "</VTKFile>\n";
}

// Writes the file by `write`; false, with the reason, when it did not all reach the file.
template <typename Write>
bool writeFile(const fs::path& file, std::string& problem, Write write) {
  std::ofstream out(file, std::ios::out | std::ios::trunc);
  if (out) write(out);
  out.flush();
  bool written = static_cast<bool>(out);
  out.close();
  written = written && !out.fail();
  if (!written) problem = "THE FILE " + file.string() + " COULD NOT BE WRITTEN COMPLETELY";
  return written;
}

}  // namespace

std::optional<std::string> firstNonFinite(const VtkDataset& d) {
  const DifferenceGrid& g = d.grid;
  for (const VtkNumber& n : d.fieldData)
    if (!std::isfinite(n.value)) return n.name + " IS NOT A FINITE NUMBER";
  for (const VtkArray& a : d.pointData) {
    const std::size_t m = static_cast<std::size_t>(a.componentCount());
    for (std::size_t k = 0; k < a.values.size(); ++k) {
      if (std::isfinite(a.values[k])) continue;
      const int n = static_cast<int>(k / m) + 1;
      const int I = (n - 1) % g.NUMB + 1, J = (n - 1) / g.NUMB + 1;
      const std::string component = m > 1 ? " " + a.components[k % m] : std::string();
      return a.name + component + " IS NOT A FINITE NUMBER AT POINT I = " + std::to_string(I) +
             ", J = " + std::to_string(J);
    }
  }
  return std::nullopt;
}

bool writeStructuredGrid(const fs::path& file, const VtkDataset& dataset, std::string& problem,
                         VtkEncoding encoding) {
  if (const auto bad = firstNonFinite(dataset)) {
    problem = "THE FILE " + file.string() + " IS NOT WRITTEN: " + *bad;
    return false;
  }
  return writeFile(file, problem, [&](std::ostream& out) { writeGrid(out, dataset, encoding); });
}

bool writeCollection(const fs::path& file, const std::vector<VtkStep>& steps,
                     std::string& problem) {
  return writeFile(file, problem, [&](std::ostream& out) {
    writeHead(out, "Collection");
    out << "  <Collection>\n";
    for (const VtkStep& s : steps)
      out << "    <DataSet timestep=\"" << s.timestep << "\" part=\"0\" file=\""
          << attribute(s.file) << "\"/>\n";
    out << "  </Collection>\n"
        << "</VTKFile>\n";
  });
}

}  // namespace korvant
