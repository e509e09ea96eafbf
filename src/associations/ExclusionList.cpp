#include "associations/ExclusionList.h"

namespace orvanel {

std::vector<Text> ExclusionList() {
  return {u"ade", u"adp", u"bat", u"chm", u"cmd",        u"com", u"cpl", u"exe", u"hta",
          u"ins", u"isp", u"jse", u"lib", u"library-ms", u"lnk", u"mde", u"msi", u"msc",
          u"msp", u"mst", u"pif", u"rdp", u"scr",        u"sct", u"shb", u"sys", u"vb",
          u"vbe", u"vbs", u"vxd", u"wsc", u"wsf",        u"wsh"};
}

}  // namespace orvanel
