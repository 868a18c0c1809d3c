#include "DataProvider/DataProvider.h"

DataProvider::~DataProvider()
{
}
