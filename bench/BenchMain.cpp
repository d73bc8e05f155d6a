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
  explicit TAnchorReporter(benchmark::BenchmarkReporter* Display) : display_(Display) {}

  bool ReportContext(const Context& C) override { return display_->ReportContext(C); }

  void ReportRuns(const std::vector<Run>& Runs) override {
    display_->ReportRuns(Runs);
    for (const Run& r : Runs) Record(r);
  }

  void Finalize() override {
    display_->Finalize();
    // Beside the console table on standard output; to standard error when the display is JSON or CSV.
    std::ostream& out = dynamic_cast<benchmark::ConsoleReporter*>(display_) ? display_->GetOutputStream() : std::cerr;
    for (const auto& [Workload, Engines] : times_) {
      auto soft = Engines.find("Soft"), pixman = Engines.find("Pixman");
      if (soft == Engines.end() || pixman == Engines.end()) continue;
      double s = Time(soft->second), p = Time(pixman->second);
      char line[160];
      std::snprintf(line, sizeof line, "Soft/Pixman %-20s soft %.3f ms  pixman %.3f ms  ratio %.2f\n", Workload.c_str(),
                    s, p, s / p);
      out << line;
    }
  }

 private:
  struct TTimes {
    std::vector<double> Runs;
    double Median = 0;  // the library's median aggregate, when it computed one
  };

  static double Time(const TTimes& T) {
    if (T.Median > 0 || T.Runs.empty()) return T.Median;
    std::vector<double> v = T.Runs;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
  }

  // BM_<Engine>_<Workload>, from the rasteriser benchmarks' per-frame processor time.
  void Record(const Run& R) {
    const std::string& name = R.run_name.function_name;
    auto counter = R.counters.find("cpu_ms_per_frame");
    if (R.error_occurred || counter == R.counters.end() || name.rfind("BM_", 0) != 0) return;
    size_t split = name.find('_', 3);
    if (split == std::string::npos) return;
    TTimes& t = times_[name.substr(split + 1)][name.substr(3, split - 3)];
    if (R.run_type == Run::RT_Iteration) {
      t.Runs.push_back(counter->second.value);
    } else if (R.aggregate_name == "median") {
      t.Median = counter->second.value;
    }
  }

  benchmark::BenchmarkReporter* display_;
  std::map<std::string, std::map<std::string, TTimes>> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TAnchorReporter reporter(benchmark::CreateDefaultDisplayReporter());
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
