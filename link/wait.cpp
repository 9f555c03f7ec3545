#include "link/wait.h"

#include <QEventLoop>
#include <QTimer>

namespace k7310 {

void WaitWithMessages(int ms) {
  if (ms <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace k7310
