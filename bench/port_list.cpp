// bench_port_list: what one refresh of the port list costs. The port list is rebuilt every 3 s, while unlinked
// (refresh) and while linked (presence check), so this cost is part of the idle load.
#include <benchmark/benchmark.h>

#include <QStringList>

#include "link/serial_link.h"

namespace {

void BM_ListSerialPorts(benchmark::State& state) {
  const QStringList extra{QStringLiteral("/dev/null")};
  for (auto _ : state) benchmark::DoNotOptimize(k7310::ListSerialPorts(extra));
}
BENCHMARK(BM_ListSerialPorts)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
