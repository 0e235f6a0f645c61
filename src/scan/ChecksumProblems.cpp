#include "scan/ChecksumProblems.h"

#include "platform/ErrorCodes.h"
#include "scan/ProblemLines.h"

namespace tarvik {

std::string ForeignNamesSuffix(std::size_t count) {
  return " - ни одно из " + std::to_string(count) +
         " имён файла контрольных сумм не найдено: имена не относятся к проверяемой папке !";
}

std::string UnusableChecksumsLine(const ExpectedSums& sums) {
  if (sums.LoadError() == kErrNotEnoughMemory) {
    return ProblemLine(sums.Path(),
                       " - файл контрольных сумм не помещается в памяти, сверки не было !");
  }
  if (sums.LoadError() == kErrBadFileType) {
    return ProblemLine(sums.Path(),
                       " - файл контрольных сумм не обычный файл (канал или устройство), сверки "
                       "не было !");
  }
  if (sums.LoadError() != kNoError) {
    return ProblemLine(sums.Path(), " - файл контрольных сумм не удалось прочитать (" +
                                        IoErrorText(sums.LoadError()) + "), сверки не было !");
  }
  return ProblemLine(sums.Path(),
                     " - в файле контрольных сумм нет ни одной строки контрольной суммы, сверки "
                     "не было !");
}

std::string OverlongLinesLine(const ExpectedSums& sums) {
  if (sums.Overlong() == 0) return {};
  return ProblemLine(sums.Path(), " - строк длиннее " +
                                      std::to_string(ChecksumLineReader::kMaxLineBytes / 1024) +
                                      " КиБ: " + std::to_string(sums.Overlong()) +
                                      " (первая: " + std::to_string(sums.FirstOverlong()) +
                                      "), имя в такой строке не называет файл, не проверены !");
}

}  // namespace tarvik
