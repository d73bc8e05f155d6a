// The benchmarks' entry point: Google Benchmark's usual one, with the chosen display reporter wrapped so that the
// end of the run also prints, per rasteriser workload, the software device's milliseconds per frame over pixman's.
// It reads what the library reported (final runs, or the median aggregate when repeated), never the trial runs
// that only size the iteration count.
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

class TAnchorReporter : public benchmark::BenchmarkReporter {
 public:
  explicit TAnchorReporter(benchmark::BenchmarkReporter* Display) : Display_(Display) {}

  bool ReportContext(const Context& C) override { return Display_->ReportContext(C); }

  void ReportRuns(const std::vector<Run>& Runs) override {
    Display_->ReportRuns(Runs);
    for (const Run& R : Runs) Record(R);
  }

  void Finalize() override {
    Display_->Finalize();
    // Beside the console table on standard output; to standard error when the display is JSON or CSV.
    std::ostream& Out = dynamic_cast<benchmark::ConsoleReporter*>(Display_) ? Display_->GetOutputStream() : std::cerr;
    for (const auto& [Workload, Engines] : Times_) {
      auto Soft = Engines.find("Soft"), Pixman = Engines.find("Pixman");
      if (Soft == Engines.end() || Pixman == Engines.end()) continue;
      double S = Time(Soft->second), P = Time(Pixman->second);
      char Line[160];
      std::snprintf(Line, sizeof Line, "Soft/Pixman %-20s soft %.3f ms  pixman %.3f ms  ratio %.2f\n", Workload.c_str(),
                    S, P, S / P);
      Out << Line;
    }
  }

 private:
  struct TTimes {
    std::vector<double> Runs;
    double Median = 0;  // the library's median aggregate, when it computed one
  };

  static double Time(const TTimes& T) {
    if (T.Median > 0 || T.Runs.empty()) return T.Median;
    std::vector<double> V = T.Runs;
    std::sort(V.begin(), V.end());
    return V.size() % 2 ? V[V.size() / 2] : (V[V.size() / 2 - 1] + V[V.size() / 2]) / 2;
  }

  // BM_<Engine>_<Workload>, from the rasteriser benchmarks' per-frame processor time.
  void Record(const Run& R) {
    const std::string& Name = R.run_name.function_name;
    auto Counter = R.counters.find("cpu_ms_per_frame");
    if (R.error_occurred || Counter == R.counters.end() || Name.rfind("BM_", 0) != 0) return;
    size_t Split = Name.find('_', 3);
    if (Split == std::string::npos) return;
    TTimes& T = Times_[Name.substr(Split + 1)][Name.substr(3, Split - 3)];
    if (R.run_type == Run::RT_Iteration) {
      T.Runs.push_back(Counter->second.value);
    } else if (R.aggregate_name == "median") {
      T.Median = Counter->second.value;
    }
  }

  benchmark::BenchmarkReporter* Display_;
  std::map<std::string, std::map<std::string, TTimes>> Times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TAnchorReporter Reporter(benchmark::CreateDefaultDisplayReporter());
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  benchmark::Shutdown();
  return 0;
}
