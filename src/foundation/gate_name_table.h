#ifndef TAVIRON_FOUNDATION_GATE_NAME_TABLE_H
#define TAVIRON_FOUNDATION_GATE_NAME_TABLE_H

#include <array>
#include <cstddef>
#include <string_view>

#include "foundation/gate_id.h"

namespace taviron {

// One entry of the gate catalogue: a gate type id with its lower-case
// operation name, its display label, the numbers of qubits and parameters
// of a record of that id, and the word that an OpenQASM 2.0 text calls it by.
struct GateDescriptor {
  GateId id;
  std::string_view name;
  std::string_view label;
  size_t qubits;      // 0 where a record holds any number (barrier, composite)
  size_t parameters;
  std::string_view qasm_word;  // empty where the language has no word for it
};

// The gate catalogue: one entry for every id from 1 to kLastGateId, in its
// fixed order (u0 sits beside the other u gates). Every per-gate table of
// the other areas is checked against it, at compile time by an exhaustive
// switch over GateId or by a test that walks these entries. Read names and
// labels through GateRecord::GetName and GateRecord::GetLabel.
inline constexpr GateDescriptor kGateCatalogue[] = {
    // id                    name       label    qubits params qasm word
    {GateId::kH,            "h",       "H",      1, 0, "h"},
    {GateId::kX,            "x",       "X",      1, 0, "x"},
    {GateId::kI,            "i",       "I",      1, 0, "id"},
    {GateId::kId,           "id",      "I",      1, 0, "id"},
    {GateId::kT,            "t",       "T",      1, 0, "t"},
    {GateId::kS,            "s",       "S",      1, 0, "s"},
    {GateId::kTdg,          "tdg",     "Tdg",    1, 0, "tdg"},
    {GateId::kSdg,          "sdg",     "Sdg",    1, 0, "sdg"},
    {GateId::kSX,           "sx",      "Sx",     1, 0, "sx"},
    {GateId::kSXdg,         "sxdg",    "Sxdg",   1, 0, "sxdg"},
    {GateId::kP,            "p",       "P",      1, 1, "p"},
    {GateId::kR,            "r",       "R",      1, 2, "r"},
    {GateId::kRV,           "rv",      "Rv",     1, 3, "rv"},
    {GateId::kRX,           "rx",      "RX",     1, 1, "rx"},
    {GateId::kRY,           "ry",      "RY",     1, 1, "ry"},
    {GateId::kRZ,           "rz",      "RZ",     1, 1, "rz"},
    {GateId::kU,            "u",       "U",      1, 3, "u"},
    {GateId::kY,            "y",       "Y",      1, 0, "y"},
    {GateId::kZ,            "z",       "Z",      1, 0, "z"},
    {GateId::kCX,           "cx",      "X",      2, 0, "cx"},
    {GateId::kCY,           "cy",      "Y",      2, 0, "cy"},
    {GateId::kCZ,           "cz",      "Z",      2, 0, "cz"},
    {GateId::kCH,           "ch",      "H",      2, 0, "ch"},
    {GateId::kCXSpare,      "cx",      "X",      2, 0, "cx"},
    {GateId::kCP,           "cp",      "P",      2, 1, "cp"},
    {GateId::kCRX,          "crx",     "RX",     2, 1, "crx"},
    {GateId::kCRY,          "cry",     "RY",     2, 1, "cry"},
    {GateId::kCRZ,          "crz",     "RZ",     2, 1, "crz"},
    {GateId::kCS,           "cs",      "S",      2, 0, "cs"},
    {GateId::kCSdg,         "csdg",    "Sdg",    2, 0, "csdg"},
    {GateId::kCSX,          "csx",     "Sx",     2, 0, "csx"},
    {GateId::kCU,           "cu",      "U",      2, 4, "cu"},
    {GateId::kDCX,          "dcx",     "Dcx",    2, 0, "dcx"},
    {GateId::kECR,          "ecr",     "Ecr",    2, 0, "ecr"},
    {GateId::kISwap,        "iswap",   "Iswap",  2, 0, "iswap"},
    {GateId::kRXX,          "rxx",     "RXX",    2, 1, "rxx"},
    {GateId::kRYY,          "ryy",     "RYY",    2, 1, "ryy"},
    {GateId::kRZX,          "rzx",     "RZX",    2, 1, "rzx"},
    {GateId::kRZZ,          "rzz",     "RZZ",    2, 1, "rzz"},
    {GateId::kSwap,         "swap",    "Swap",   2, 0, "swap"},
    {GateId::kMeasure,      "measure", "M",      1, 0, "measure"},
    {GateId::kBarrierSpare, "barrier", "B",      0, 0, "barrier"},
    {GateId::kBarrier,      "barrier", "B",      0, 0, "barrier"},
    {GateId::kReset,        "reset",   "|0>",    1, 0, "reset"},
    {GateId::kCSwap,        "cswap",   "Swap",   3, 0, "cswap"},
    {GateId::kCU1,          "cu1",     "U1",     2, 1, "cu1"},
    {GateId::kCU3,          "cu3",     "U3",     2, 3, "cu3"},
    {GateId::kU0,           "u0",      "U0",     1, 1, "u0"},
    {GateId::kU1,           "u1",      "U1",     1, 1, "u1"},
    {GateId::kU2,           "u2",      "U2",     1, 2, "u2"},
    {GateId::kCCX,          "ccx",     "ccx",    3, 0, "ccx"},
    {GateId::kCCZ,          "ccz",     "ccz",    3, 0, ""},  // not in qelib1.inc
    {GateId::kEmpty,        "",        "",       0, 0, ""},
    {GateId::kComposite,    "",        "",       0, 0, ""},
};

inline constexpr size_t kGateCatalogueSize = std::size(kGateCatalogue);

namespace gate_catalogue_detail {

// The position of each id's entry, kGateCatalogueSize for 0 and absent ids.
constexpr std::array<size_t, GateNumber(kLastGateId) + 1> PositionsById() {
  std::array<size_t, GateNumber(kLastGateId) + 1> positions{};
  for (size_t& position : positions) position = kGateCatalogueSize;
  for (size_t pos = 0; pos < kGateCatalogueSize; ++pos) {
    positions[static_cast<size_t>(GateNumber(kGateCatalogue[pos].id))] = pos;
  }
  return positions;
}

constexpr bool EveryIdOnceInRange() {
  std::array<int, GateNumber(kLastGateId) + 1> seen{};
  for (const GateDescriptor& entry : kGateCatalogue) {
    if (GateNumber(entry.id) < 1 || GateNumber(entry.id) > GateNumber(kLastGateId)) return false;
    ++seen[static_cast<size_t>(GateNumber(entry.id))];
  }
  for (size_t id = 1; id < seen.size(); ++id) {
    if (seen[id] != 1) return false;
  }
  return true;
}

inline constexpr std::array<size_t, GateNumber(kLastGateId) + 1> kPositionsById = PositionsById();

}  // namespace gate_catalogue_detail

static_assert(gate_catalogue_detail::EveryIdOnceInRange(),
              "the gate catalogue holds every id from 1 to kLastGateId exactly once");

// Whether an id has an entry in the catalogue.
constexpr bool InGateCatalogue(GateId id) {
  return GateNumber(id) >= 1 && GateNumber(id) <= GateNumber(kLastGateId);
}

// The descriptor of an id for which InGateCatalogue holds. Usable in
// constant expressions under every build's flags (a sanitizer build cannot
// compare a constant's address with null at compile time).
constexpr const GateDescriptor& GateDescriptorOf(GateId id) {
  return kGateCatalogue[gate_catalogue_detail::kPositionsById[static_cast<size_t>(GateNumber(id))]];
}

// The entry of an id, or nullptr for an id outside the catalogue. One index.
constexpr const GateDescriptor* FindGateDescriptor(GateId id) {
  return InGateCatalogue(id) ? &GateDescriptorOf(id) : nullptr;
}

}  // namespace taviron

#endif
