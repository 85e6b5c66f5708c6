#include "value.h"

#include <math.h>
#include <stdio.h>

std::string FormatNumber(double number) {
  char text[40];
  if (number == 0) number = 0;  // no "-0"
  if (number == trunc(number) && fabs(number) < 1e15)
    snprintf(text, sizeof text, "%.0f", number);
  else
    snprintf(text, sizeof text, "%.15g", number);
  return text;
}
