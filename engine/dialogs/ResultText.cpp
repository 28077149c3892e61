#include "ResultText.h"

#include <cmath>

#include "NumberText.h"

std::string resultText(double value) { return std::isfinite(value) ? ui::formatNumber(value) : kUndefinedText; }
