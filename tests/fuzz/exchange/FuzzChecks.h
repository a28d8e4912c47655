// The fuzz entries of the exchange readers. Each runs one input against a realistic store
// and aborts when a reader breaks its promise: a refused input must leave the store byte
// for byte as it was, an accepted one must survive its own write and read unchanged.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

void FuzzImageOnce(const std::uint8_t* data, std::size_t size);
void FuzzCsvOnce(const std::uint8_t* data, std::size_t size);

// Full-size inputs made from the test stores, which no small corpus file can stand for.
std::vector<QByteArray> GeneratedImageSeeds();
std::vector<QByteArray> GeneratedCsvSeeds();
