#pragma once

#include "fieldbus/FFXMLExtractor.h"

// The reader of the responses of an H1 device's services.
class CFFH1XMLExtractor : public CFFXMLExtractor {};
