#pragma once

#include <QString>

// The folder of the running program, without a trailing "/".
QString programFolder();
