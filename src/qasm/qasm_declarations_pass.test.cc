#include <gtest/gtest.h>

#include <variant>
#include <vector>

#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_declarations_pass.h"
#include "qasm/qasm_reading.h"
#include "qasm/testing/reader_fixture.h"

namespace taviron {

namespace {

bool ParseDeclarationsOf(QasmReading& reading, const std::string& text) {
  ReadFromText(reading, text);
  return QasmDeclarationsPass(reading).ParseDeclarations();
}

TEST(QasmDeclarationsPassTest, RecordsDeclarationsAndDefinitions) {
  QasmReading reading;
  ASSERT_TRUE(ParseDeclarationsOf(reading,
                                  "OPENQASM 2.0;\n"
                                  "include \"qelib1.inc\";\n"
                                  "qreg q[2]; h q[0];\n"
                                  "creg c\n[\n3\n]\n;\n"
                                  "gate rot(theta, phi) a, b { u3(theta, phi, 0) a; cx a, b; }\n"
                                  "opaque magic(m) a b;\n"
                                  "qreg empty[0];\n"
                                  "gate noop() { }\n"));
  EXPECT_TRUE(reading.declarations().version_seen());
  EXPECT_TRUE(reading.declarations().qelib1_included());
  ASSERT_EQ(reading.declarations().qreg_declarations().size(), 2u);
  EXPECT_EQ(reading.declarations().qreg_declarations()[0].name, "q");
  EXPECT_EQ(reading.declarations().qreg_declarations()[0].size, 2);
  EXPECT_EQ(reading.declarations().qreg_declarations()[1].size, 0);
  ASSERT_EQ(reading.declarations().creg_declarations().size(), 1u);
  EXPECT_EQ(reading.declarations().creg_declarations()[0].name, "c");
  EXPECT_EQ(reading.declarations().creg_declarations()[0].size, 3);

  ASSERT_EQ(reading.declarations().gate_definitions().size(), 2u);
  const QasmGateDefinition& rot = reading.declarations().gate_definitions()[0];
  EXPECT_EQ(rot.name, "rot");
  EXPECT_EQ(rot.parameter_names, (std::vector<std::string>{"theta", "phi"}));
  EXPECT_EQ(rot.argument_names, (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(rot.body.empty());  // read by the statements pass
  EXPECT_TRUE(reading.declarations().gate_definitions()[1].parameter_names.empty());
  EXPECT_TRUE(reading.declarations().gate_definitions()[1].argument_names.empty());
  ASSERT_EQ(reading.declarations().opaque_definitions().size(), 1u);
  EXPECT_EQ(reading.declarations().opaque_definitions()[0].argument_names,
            (std::vector<std::string>{"a", "b"}));

  // The register objects are made by the driver, once its checks pass.
  for (const auto* list :
       {&reading.declarations().qreg_declarations(), &reading.declarations().creg_declarations()}) {
    for (const QasmRegisterDeclaration& declaration : *list) {
      EXPECT_TRUE(std::holds_alternative<std::monostate>(declaration.created_register));
    }
  }
}

TEST(QasmDeclarationsPassTest, NamesTakeUnderscoresAfterTheFirstLetter) {
  QasmReading reading;
  ASSERT_TRUE(ParseDeclarationsOf(reading,
                                  "qreg q_a[2]; creg anc_0[1];\n"
                                  "gate my_gate(theta_1) a_b, c__ { }\n"));
  EXPECT_EQ(reading.declarations().qreg_declarations()[0].name, "q_a");
  EXPECT_EQ(reading.declarations().creg_declarations()[0].name, "anc_0");
  EXPECT_EQ(reading.declarations().gate_definitions()[0].name, "my_gate");
  EXPECT_EQ(reading.declarations().gate_definitions()[0].parameter_names,
            std::vector<std::string>{"theta_1"});
  EXPECT_EQ(reading.declarations().gate_definitions()[0].argument_names,
            (std::vector<std::string>{"a_b", "c__"}));
}

TEST(QasmDeclarationsPassTest, AcceptsTheLooseFormsOfDefinitionsAndIncludes) {
  struct Case {
    std::string text;
    bool qelib1;
    size_t parameters;  // of the last gate definition, when there is one
    size_t arguments;
  };
  const Case cases[] = {
      {"gate g() a { }", false, 0, 1},
      {"gate g(a,) b { }", false, 1, 1},
      {"gate g a b c { }", false, 0, 3},
      {"gate g() { }", false, 0, 0},
      // Braces do not nest: the first "}" ends the body.
      {"gate g a { { } }", false, 0, 1},
      {"include \"other.inc\"; qreg q[1];", false, 0, 0},
      {"include \n \" qelib1 . inc \" ;", true, 0, 0},
      {"OPENQASM 3.0; qreg q[1];", false, 0, 0},
      {"OPENQASM; qreg q[1];", false, 0, 0},
  };
  for (const Case& c : cases) {
    QasmReading reading;
    EXPECT_TRUE(ParseDeclarationsOf(reading, c.text)) << c.text;
    EXPECT_EQ(reading.declarations().qelib1_included(), c.qelib1) << c.text;
    EXPECT_FALSE(reading.declarations().version_seen()) << c.text;
    if (!reading.declarations().gate_definitions().empty()) {
      const QasmGateDefinition& last = reading.declarations().gate_definitions().back();
      EXPECT_EQ(last.parameter_names.size(), c.parameters) << c.text;
      EXPECT_EQ(last.argument_names.size(), c.arguments) << c.text;
    }
  }
}

TEST(QasmDeclarationsPassTest, NothingDeclaredFailsWithoutACode) {
  for (const std::string text : {"", "h q[0];\nx q[1];", "OPENQASM 3.0;"}) {
    QasmReading reading;
    EXPECT_FALSE(ParseDeclarationsOf(reading, text)) << text;
    EXPECT_EQ(reading.error_code(), QasmErrorCode::NO_ERROR) << text;
  }
  QasmReading reading;
  EXPECT_TRUE(ParseDeclarationsOf(reading, "OPENQASM 2.0;"));
  EXPECT_TRUE(reading.declarations().version_seen());
}

TEST(QasmDeclarationsPassTest, RefusesMalformedDeclarations) {
  struct Case {
    std::string text;
    QasmErrorCode code;
  };
  using Code = QasmErrorCode;
  const Case cases[] = {
      {"qreg 1[2];", Code::IDENTIFIER_EXPECTED},
      {"qreg q[2]; creg q[1];", Code::DUPLICATE_DEFINITION},
      {"qreg q[1]; gate q a { }", Code::DUPLICATE_DEFINITION},
      {"gate g a { } opaque g b;", Code::DUPLICATE_DEFINITION},
      {"qreg q-a[2];", Code::LEFT_BRACKET_EXPECTED},
      // A name begins with a letter.
      {"qreg _a[2];", Code::IDENTIFIER_EXPECTED},
      {"qreg 2a[2];", Code::IDENTIFIER_EXPECTED},
      {"gate 2g a { }", Code::IDENTIFIER_EXPECTED},
      {"gate g(_w) a { }", Code::PARAMETER_EXPECTED},
      {"gate g 1a { }", Code::PARAMETER_EXPECTED},
      {"include \"qelib_1.inc\";", Code::FULL_STOP_EXPECTED},
      {"qreg q[-1];", Code::NON_NEGATIVE_NUMBER_EXPECTED},
      {"qreg q[2147483648];", Code::NON_NEGATIVE_NUMBER_EXPECTED},
      {"qreg q[2;", Code::RIGHT_BRACKET_EXPECTED},
      {"qreg q[2]", Code::SEMICOLON_EXPECTED},
      {"gate h a { }", Code::IDENTIFIER_EXPECTED},
      {"gate g { }", Code::LEFT_PAREN_EXPECTED},
      {"gate g(,a) b { }", Code::PARAMETER_EXPECTED},
      {"gate g a, 1 { }", Code::PARAMETER_EXPECTED},
      {"gate g(a b) c { }", Code::RIGHT_PAREN_EXPECTED},
      {"gate g(", Code::PREMATURE_END_OF_FILE},
      {"gate g(a,", Code::PREMATURE_END_OF_FILE},
      {"gate g a, b", Code::PREMATURE_END_OF_FILE},
      {"gate g a { h a;", Code::PREMATURE_END_OF_FILE},
      {"opaque g a", Code::SEMICOLON_EXPECTED},
      {"opaque g(a,", Code::SEMICOLON_EXPECTED},
      {"opaque g a, 1;", Code::PARAMETER_EXPECTED},
      {"include qelib1.inc;", Code::QUOTATION_MARK_EXPECTED},
      {"include \"qelib1.inc;", Code::QUOTATION_MARK_EXPECTED},
      {"include \"qelib1.inc\"", Code::SEMICOLON_EXPECTED},
      {"include \"\";", Code::FILENAME_EXPECTED},
      {"include \"qelib1\";", Code::FULL_STOP_EXPECTED},
      {"include \"my-file.inc\";", Code::FULL_STOP_EXPECTED},
      {"include \"qelib1.\";", Code::FILENAME_EXTENSION_EXPECTED},
      {"include \"qelib1.in_c\";", Code::QUOTATION_MARK_EXPECTED},
  };
  for (const Case& c : cases) {
    QasmReading reading;
    EXPECT_FALSE(ParseDeclarationsOf(reading, c.text)) << c.text;
    EXPECT_EQ(reading.error_code(), c.code) << c.text;
  }
}

TEST(QasmDeclarationsPassTest, FailedPassCreatesNoRegisterObjects) {
  QasmReading reading;
  EXPECT_FALSE(ParseDeclarationsOf(reading, "qreg q[2];\nqreg q[1];"));
  ASSERT_EQ(reading.declarations().qreg_declarations().size(), 1u);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(
      reading.declarations().qreg_declarations()[0].created_register));
}

}  // namespace

}  // namespace taviron
