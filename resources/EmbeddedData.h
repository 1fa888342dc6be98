#pragma once
// EmbeddedData: the program's data resources (the device catalogue
// "Device_Database" and its reference "Device_Database_Ref"), read through
// CTResources. Call Ensure() once before the first read.

class EmbeddedData {
 public:
  static void Ensure();
};
