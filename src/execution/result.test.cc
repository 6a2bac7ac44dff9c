#include "execution/result.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/exceptions.h"
#include "simulator/mps_state.h"
#include "simulator/testing/mps_state_probe.h"

namespace taviron {

namespace {

std::vector<std::string> Keys(const ShotCounts& counts) {
  std::vector<std::string> keys;
  for (const auto& entry : counts) keys.push_back(entry.first);
  return keys;
}

std::string MessageOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "(no exception)";
}

const char* const kNotCompleted = "Job not completed yet. Try again later.";
const char* const kStatevectorGone = "Statevector is is no longer accessible for the given job.";
const char* const kAmplitudesGone = "Amplitude vector is no longer accessible for the given job.";
const char* const kDensityGone = "Density Matrix is no longer accessible for the given job.";

TEST(ResultTest, DefaultResultHasADateAndTheFunctionalStatus) {
  const Result result;
  EXPECT_EQ(result.backend_name(), "");
  EXPECT_EQ(result.backend_version(), "");
  EXPECT_EQ(result.qobj_id(), "");
  EXPECT_EQ(result.job_id(), "");
  EXPECT_EQ(result.header(), "");
  EXPECT_EQ(result.status(), "Functional");
  EXPECT_FALSE(result.success());
  EXPECT_TRUE(result.results().empty());
  EXPECT_TRUE(result.get_memory().empty());
  EXPECT_TRUE(result.get_counts().empty());
  const std::string date = result.date();
  ASSERT_EQ(date.size(), 25u);
  EXPECT_EQ(date.back(), '\n');
}

TEST(ResultTest, RunTextsAreKeptAndStatusIsAlwaysFunctional) {
  const Result result("velmora_taviron", "0.2.1", "", "3", "Mon Jan  1 00:00:00 2024\n", "Other",
                      "");
  EXPECT_EQ(result.backend_name(), "velmora_taviron");
  EXPECT_EQ(result.backend_version(), "0.2.1");
  EXPECT_EQ(result.job_id(), "3");
  EXPECT_EQ(result.date(), "Mon Jan  1 00:00:00 2024\n");
  EXPECT_EQ(result.status(), "Functional");
}

struct MessageCase {
  const char* readout;
  std::function<void(Result&)> call;
  const char* without_state;
  const char* incomplete;  // with a state that is not complete; nullptr: answers
};

// Each readout checks for an engine state first, then for completion.
TEST(ResultTest, ReadoutsRefuseInTheirOrder) {
  const std::vector<MessageCase> cases = {
      {"get_statevector", [](Result& r) { r.get_statevector(); }, kStatevectorGone, kNotCompleted},
      {"get_unitary", [](Result& r) { r.get_unitary(); }, kAmplitudesGone, kNotCompleted},
      {"get_probabilities", [](Result& r) { r.get_probabilities(); }, kAmplitudesGone,
       kNotCompleted},
      {"get_densitymatrix", [](Result& r) { r.get_densitymatrix(); }, kDensityGone, kNotCompleted},
      {"get_classicalregister", [](Result& r) { r.get_classicalregister(); }, kAmplitudesGone,
       nullptr},
      {"data", [](Result& r) { r.data(0); }, kNotCompleted, kNotCompleted},
      {"from_dict", [](Result& r) { r.from_dict(); },
       "Function 'Result::from_dict' is not implemented.",
       "Function 'Result::from_dict' is not implemented."},
  };
  for (const MessageCase& c : cases) {
    Result empty;
    EXPECT_EQ(MessageOf([&] { c.call(empty); }), c.without_state) << c.readout;
    Result incomplete;
    incomplete.SetFinalState(std::make_unique<MpsState>(1), false);
    EXPECT_EQ(MessageOf([&] { c.call(incomplete); }),
              c.incomplete ? c.incomplete : "(no exception)")
        << c.readout;
  }
}

// A job of 0 shots ends complete with the engine state it started from: no
// readout of the state answers, the counts and the memory stay empty.
TEST(ResultTest, AJobOfNoShotHasNoStateToRead) {
  const std::string no_shot =
      "The job ran no shot, so it has no final state to read; run the circuit with a shot "
      "count, for example backend.run(qc, shots=1024).";
  Result result;
  result.SetFinalState(std::make_unique<MpsState>(1), true);
  const std::vector<std::function<void()>> readouts = {
      [&] { result.get_statevector(); },  [&] { result.get_unitary(); },
      [&] { result.get_probabilities(); }, [&] { result.get_densitymatrix(); },
      [&] { result.get_classicalregister(); }, [&] { result.data(0); },
  };
  for (const auto& readout : readouts) EXPECT_EQ(MessageOf(readout), no_shot);
  EXPECT_TRUE(result.get_counts().empty());
  EXPECT_TRUE(result.get_memory().empty());
  EXPECT_TRUE(result.success());
  // One shot, even one that measures nothing, gives the state.
  result.AppendShot("");
  EXPECT_EQ(result.get_statevector().size(), 2u);
}

TEST(ResultTest, CountsAreOrderedByBytes) {
  Result result;
  for (const char* bits : {"11", "00", "1", "01", "0", "11", "00", "11"}) result.AppendShot(bits);
  EXPECT_EQ(result.get_counts(), (ShotCounts{{"0", 1}, {"00", 2}, {"01", 1}, {"1", 1}, {"11", 3}}));
  EXPECT_EQ(result.get_memory(),
            (std::vector<std::string>{"11", "00", "1", "01", "0", "11", "00", "11"}));
}

TEST(ResultTest, DictionaryKeysStandInTheirOrder) {
  Result result("velmora_taviron", "0.2.1", "", "0", "date\n", "Functional", "");
  result.AppendShot("1");
  const std::vector<std::string> expected_keys = {"backend_name", "backend_version", "date",
                                                  "header",       "qobj_id",         "job_id",
                                                  "status",       "success"};
  ResultDictionary dictionary = result.to_dict();
  std::vector<std::string> keys;
  for (const auto& entry : dictionary.texts) keys.push_back(entry.first);
  EXPECT_EQ(keys, expected_keys);
  EXPECT_EQ(dictionary.texts.back().second, "False");
  EXPECT_EQ(dictionary.texts.front().second, "velmora_taviron");
  EXPECT_EQ(dictionary.results, std::vector<std::string>{"1"});

  result.SetFinalState(std::make_unique<MpsState>(1), true);
  EXPECT_EQ(result.to_dict().texts.back().second, "Success");
}

TEST(ResultTest, DataOfACompleteResultHoldsEveryReadout) {
  Result result;
  auto state = std::make_unique<MpsState>(1);
  MpsStateProbe::ClassicalValues(*state)[0] = 0;
  result.AppendShot("0");
  result.AppendShot("0");
  result.SetFinalState(std::move(state), true);

  const ResultData data = result.data(0);
  EXPECT_EQ(Keys(data.counts), std::vector<std::string>{"0"});
  ASSERT_TRUE(data.has_state);
  EXPECT_EQ(data.statevector, (ComplexVector{1.0, 0.0}));
  EXPECT_EQ(data.probabilities, (std::vector<double>{1.0, 0.0}));
  EXPECT_EQ(data.amplitudes, ComplexVector{1.0});  // one amplitude per qubit: index 0
  const ComplexRows expected_density = {{1.0, 0.0}, {0.0, 0.0}};
  EXPECT_EQ(data.densitymatrix, expected_density);
  EXPECT_EQ(result.get_densitymatrix(), expected_density);
  EXPECT_EQ(data.creg, "0");
  EXPECT_EQ(result.get_classicalregister(), "0");
  EXPECT_EQ(result.get_unitary(), ComplexVector{1.0});
}

TEST(ResultTest, DataRefusesMoreQubitsThanTheStateVectorAllows) {
  Result result;
  result.AppendShot("");
  result.SetFinalState(std::make_unique<MpsState>(17), true);
  EXPECT_EQ(MessageOf([&] { result.data(0); }),
            "State Vector is supported only for 16 qubits or less.");
  EXPECT_EQ(result.get_unitary().size(), 17u);
}

TEST(ResultTest, CopySharesTheEngineState) {
  auto original = std::make_unique<Result>();
  original->AppendShot("1");
  original->SetFinalState(std::make_unique<MpsState>(1), true);
  const Result copy(*original);
  original.reset();
  EXPECT_TRUE(copy.success());
  EXPECT_EQ(copy.get_memory(), std::vector<std::string>{"1"});
  EXPECT_EQ(copy.get_classicalregister(), "X");
}

TEST(ResultTest, AFailedRunGivesItsReasonToEveryReadoutOfTheState) {
  Result result;
  result.AppendShot("1");
  result.Fail("The gate rx has a parameter that is not a finite number (nan).");
  const std::string reason = "The gate rx has a parameter that is not a finite number (nan).";
  EXPECT_FALSE(result.success());
  EXPECT_EQ(result.get_counts().size(), 1u);
  const std::vector<std::function<void()>> readouts = {
      [&] { result.get_statevector(); },  [&] { result.get_unitary(); },
      [&] { result.get_probabilities(); }, [&] { result.get_densitymatrix(); },
      [&] { result.get_classicalregister(); }, [&] { result.data(0); },
  };
  for (const auto& readout : readouts) EXPECT_EQ(MessageOf(readout), reason);
  EXPECT_EQ(MessageOf([&] { Result(result).get_statevector(); }), reason);
}

TEST(ResultTest, ReadoutsTooLargeForTheMachineAreRefusedBeforeTheyAllocate) {
  Result result;
  result.AppendShot("");
  result.SetFinalState(std::make_unique<MpsState>(40), true);
  const std::string probabilities = MessageOf([&] { result.get_probabilities(); });
  EXPECT_EQ(probabilities.rfind("The probabilities of 40 qubits needs ", 0), 0u) << probabilities;
  const std::string density = MessageOf([&] { result.get_densitymatrix(); });
  EXPECT_EQ(density.rfind("The density matrix of 40 qubits needs ", 0), 0u) << density;
}

}  // namespace

}  // namespace taviron
