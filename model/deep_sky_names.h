// Deep-sky object names (Messier, NGC, IC), places and type names.
#pragma once

#include <cstdint>

// "M31", "NGC224", "N224", "IC434", "I434" (any case; trailing text ignored):
// 1 with the combined nebula index.
int parseNebulaName(const char *text, int32_t *index);
int nebulaCount();
// J2000 right ascension and declination, degrees; 0 for an index out of range.
int nebulaPosition(int32_t index, double out[2]);
// The localized name of a deep-sky type; "" for an unknown type. Returns buf.
char *nebulaTypeName(int32_t type, char *buf, int32_t len);
