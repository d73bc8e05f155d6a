// File and folder tests for the definition loaders (paths in CP932).
#pragma once
#include <string>

bool DataFileExists(const std::string& Path);
bool DataFolderExists(const std::string& Path);
