// The application's own texts (UTF-8; lines end in CR LF, as the stored texts had them).
#include "app/app_texts.h"

// Twenty lines: sixteen body lines, an empty line and three signature lines.
const std::string& PrefaceText() {
  static const std::string text =
      "    药品不良反应监测是保障公众用药安全的重要工作，而统一规范的\r\n"
      "术语则是监测工作的基础。世界卫生组织国际药物监测合作中心编制\r\n"
      "的药品不良反应术语集已在许多国家使用多年，为各国交流不良反应\r\n"
      "报告提供了共同的语言。为方便国内监测人员查阅，我们将其中的首\r\n"
      "选术语译为中文，按汉语拼音缩写、英文名称和所累及的系统与器官\r\n"
      "分别编排，制成这套查询软件。使用者只需输入不良反应名称的拼音\r\n"
      "首字母或中文名称的开头几个字，即可查到相应的术语及其英文名称、\r\n"
      "不良反应代码和所累及的系统与器官；也可以按英文名称的字母顺序\r\n"
      "查找，或者先选定某一系统与器官，再浏览属于它的全部不良反应术\r\n"
      "语。每一个术语都有唯一的代码，一个术语通常只累及一个系统与器\r\n"
      "官，少数累及两个或三个，这时在每一个相关的系统与器官下都能找\r\n"
      "到它。本软件只读取术语库，不会修改其中的任何内容。由于编者水\r\n"
      "平所限，译名和编排中难免有疏漏和不妥之处，恳请各位同行和使用\r\n"
      "者在使用过程中批评指正，以便再版时修订完善。在编写过程中得到\r\n"
      "许多专家和同事的帮助与指导，他们提出了很多宝贵的意见，谨在\r\n"
      "此一并致以衷心的感谢。\r\n"
      "\r\n"
      "                                    药品不良反应术语编译组\r\n"
      "                          维尔玛药物警戒术语编辑部信息室\r\n"
      "                                            2003年9月";
  return text;
}

// Sixty lines under the centred title; the examples are rows of the terminology. Columns are
// aligned for tab stops every eight half-width cells (a Chinese character takes two).
const std::string& UsageNotesText() {
  static const std::string text =
      "                                    使用说明\r\n"
      "\r\n"
      "一、本书可以按三种顺序检索：\r\n"
      "    1．按不良反应中文名称汉语拼音的首字母检索；\r\n"
      "    2．按不良反应英文名称的字母顺序检索；\r\n"
      "    3．按不良反应所累及的系统-器官检索。\r\n"
      "    在左侧相应的输入框中键入要查找的内容，按回车键或单击“查询”按钮，\r\n"
      "    右侧上方列出所有以所键入内容开头的条目，下方列出当前条目的相关内容。\r\n"
      "\r\n"
      "二、按拼音检索时，每个条目依次列出拼音缩写、中文名称、英文名称、ADR代码\r\n"
      "    和系统-器官代码。例如：\r\n"
      "\r\n"
      "    拼音缩写\t中文名称\t英文名称\t\tADR代码\t系统-器官代码\r\n"
      "    FBZD\t腹部胀大\tABDOMEN ENLARGED\t0711\t1810  0600\r\n"
      "    CC\t\t痤疮\t\tACNE\t\t\t0001\t0100\r\n"
      "    TF\t\t脱发\t\tALOPECIA\t\t0002\t0100\r\n"
      "    XGSJXSZ\t血管神经性水肿\tANGIOEDEMA\t\t0003\t0100  1810\r\n"
      "    PJY\t\t皮肌炎\t\tDERMATOMYOSITIS\t\t0082\t0300  0100  0200\r\n"
      "\r\n"
      "    每个ADR代码都是唯一的。一个不良反应通常只累及一个系统-器官，如“痤疮”\r\n"
      "    只累及皮肤及其附件（0100）；但也有一些不良反应累及两个或三个系统-器官，\r\n"
      "    如“腹部胀大”累及1810和0600两个，“皮肌炎”累及0300、0100和0200三个。\r\n"
      "    中文名称也可以检索：选中“不良反应名称”，键入名称的开头几个字即可。\r\n"
      "\r\n"
      "三、按英文名称检索时，每个条目依次列出英文名称、中文名称、ADR代码和\r\n"
      "    系统-器官代码。例如：\r\n"
      "\r\n"
      "    英文名称\t\t中文名称\tADR代码\t系统-器官代码\r\n"
      "    ABDOMEN ENLARGED\t腹部胀大\t0711\t1810  0600\r\n"
      "    ACNE\t\t痤疮\t\t0001\t0100\r\n"
      "    ALOPECIA\t\t脱发\t\t0002\t0100\r\n"
      "    ANGIOEDEMA\t\t血管神经性水肿\t0003\t0100  1810\r\n"
      "    DERMATOMYOSITIS\t皮肌炎\t\t0082\t0300  0100  0200\r\n"
      "\r\n"
      "    英文名称一律为大写字母，键入时不区分大小写。\r\n"
      "\r\n"
      "四、按系统-器官检索时，上方列出系统-器官的代码、中文名称和英文名称，\r\n"
      "    下方列出累及当前系统-器官的全部不良反应的英文名称、中文名称和ADR代码。\r\n"
      "    系统-器官可以按代码检索，也可以按中文名称的开头几个字检索。例如：\r\n"
      "\r\n"
      "    0100\t皮肤及其附件损害\tSKIN AND APPENDAGES DISORDERS\r\n"
      "    \t\tACNE\t\t\t痤疮\t\t0001\r\n"
      "    \t\tALOPECIA\t\t脱发\t\t0002\r\n"
      "    \t\tANGIOEDEMA\t\t血管神经性水肿\t0003\r\n"
      "    \t\t……\r\n"
      "\r\n"
      "五、累及多个系统-器官的不良反应，在它所累及的每一个系统-器官下都能查到。\r\n"
      "    例如“腹部胀大”（ADR代码0711）既列在“全身性损害”（1810）之下，\r\n"
      "    也列在“胃肠系统损害”（0600）之下：\r\n"
      "\r\n"
      "    1810\t全身性损害\t\tBODY AS A WHOLE - GENERAL DISORDERS\r\n"
      "    \t\tABDOMEN ENLARGED\t腹部胀大\t0711\r\n"
      "    0600\t胃肠系统损害\t\tGASTRO-INTESTINAL SYSTEM DISORDERS\r\n"
      "    \t\tABDOMEN ENLARGED\t腹部胀大\t0711\r\n"
      "\r\n"
      "    在结果列表中用鼠标或方向键移动当前行，下方的列表随之变化；单击列标题\r\n"
      "    可以按该列排序，拖动列标题可以调整列的宽度和顺序。\r\n"
      "\r\n"
      "    单击“帮助”显示本说明，再次检索时本说明自动关闭。\r\n"
      "    单击“关于”可以查看版本信息，单击“退出”结束程序。";
  return text;
}

const std::string& RightsNoticeText() {
  static const std::string text = "(C) Velmara 版权所有";
  return text;
}
