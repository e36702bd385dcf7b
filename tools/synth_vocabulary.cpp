#include "tools/synth_vocabulary.h"

namespace {

template <typename T, size_t N>
TSynthList<T> ListOf(const T (&items)[N]) {
  return {items, N};
}

const TSynthHanzi kHanzi[] = {
    {"腹", 'F'}, {"部", 'B'}, {"胀", 'Z'}, {"大", 'D'}, {"疼", 'T'}, {"痛", 'T'}, {"炎", 'Y'}, {"症", 'Z'},
    {"皮", 'P'}, {"肤", 'F'}, {"瘙", 'S'}, {"痒", 'Y'}, {"头", 'T'}, {"晕", 'Y'}, {"恶", 'E'}, {"心", 'X'},
    {"呕", 'O'}, {"吐", 'T'}, {"发", 'F'}, {"热", 'R'}, {"血", 'X'}, {"压", 'Y'}, {"高", 'G'}, {"低", 'D'},
    {"肝", 'G'}, {"功", 'G'}, {"能", 'N'}, {"异", 'Y'}, {"常", 'C'}, {"肾", 'S'}, {"衰", 'S'}, {"竭", 'J'},
    {"过", 'G'}, {"敏", 'M'}, {"性", 'X'}, {"休", 'X'}, {"克", 'K'}, {"水", 'S'}, {"肿", 'Z'}, {"咳", 'K'},
    {"嗽", 'S'}, {"呼", 'H'}, {"吸", 'X'}, {"困", 'K'}, {"难", 'N'}, {"失", 'S'}, {"眠", 'M'}, {"嗜", 'S'},
    {"睡", 'S'}, {"抽", 'C'}, {"搐", 'C'}, {"震", 'Z'}, {"颤", 'C'}, {"视", 'S'}, {"力", 'L'}, {"模", 'M'},
    {"糊", 'H'}, {"耳", 'E'}, {"鸣", 'M'}, {"聋", 'L'}, {"脱", 'T'}, {"贫", 'P'}, {"白", 'B'}, {"细", 'X'},
    {"胞", 'B'}, {"减", 'J'}, {"少", 'S'}, {"增", 'Z'}, {"多", 'D'}, {"小", 'X'}, {"板", 'B'}, {"关", 'G'},
    {"节", 'J'}, {"肌", 'J'}, {"肉", 'R'}, {"骨", 'G'}, {"胃", 'W'}, {"肠", 'C'}, {"道", 'D'}, {"出", 'C'},
    {"泻", 'X'}, {"便", 'B'}, {"秘", 'M'}, {"口", 'K'}, {"干", 'G'}, {"渴", 'K'}, {"味", 'W'}, {"觉", 'J'},
    {"障", 'Z'}, {"碍", 'A'}, {"精", 'J'}, {"神", 'S'}, {"紊", 'W'}, {"乱", 'L'}, {"焦", 'J'}, {"虑", 'L'},
    {"抑", 'Y'}, {"郁", 'Y'}, {"幻", 'H'}, {"悸", 'J'}, {"律", 'L'}, {"不", 'B'}, {"齐", 'Q'}, {"动", 'D'},
    {"速", 'S'}, {"缓", 'H'}, {"黄", 'H'}, {"疸", 'D'}, {"酶", 'M'}, {"升", 'S'}, {"尿", 'N'}, {"蛋", 'D'},
    {"红", 'H'}, {"斑", 'B'}, {"疹", 'Z'}, {"荨", 'X'}, {"麻", 'M'}, {"紫", 'Z'}, {"癜", 'D'}, {"疱", 'P'},
    {"剥", 'B'}, {"落", 'L'}, {"光", 'G'}, {"感", 'G'}, {"染", 'R'}, {"局", 'J'}, {"注", 'Z'}, {"射", 'S'},
    {"位", 'W'}, {"反", 'F'}, {"应", 'Y'}, {"静", 'J'}, {"脉", 'M'}, {"栓", 'S'}, {"塞", 'S'}, {"眼", 'Y'},
    {"结", 'J'}, {"膜", 'M'}, {"充", 'C'}, {"鼻", 'B'}, {"衄", 'N'}, {"喉", 'H'}, {"痉", 'J'}, {"挛", 'L'},
    {"僵", 'J'}, {"硬", 'Y'}, {"痹", 'B'}, {"瘫", 'T'}, {"痪", 'H'}, {"昏", 'H'}, {"迷", 'M'}, {"厥", 'J'},
    {"胸", 'X'}, {"闷", 'M'}, {"气", 'Q'}, {"急", 'J'}, {"喘", 'C'}, {"哮", 'X'}, {"癫", 'D'}, {"痫", 'X'},
    {"损", 'S'}, {"害", 'H'}, {"一", 'Y'}, {"乙", 'Y'}, {"期", 'Q'}, {"慢", 'M'}, {"中", 'Z'}, {"毒", 'D'},
    {"色", 'S'}, {"素", 'S'}, {"沉", 'C'}, {"着", 'Z'}, {"生", 'S'}, {"萎", 'W'}, {"缩", 'S'}, {"坏", 'H'},
    {"死", 'S'}, {"溃", 'K'}, {"疡", 'Y'}, {"穿", 'C'}, {"孔", 'K'}, {"梗", 'G'}, {"阻", 'Z'}, {"狭", 'X'},
    {"窄", 'Z'}, {"钙", 'G'}, {"钾", 'J'}, {"钠", 'N'}, {"糖", 'T'}, {"脂", 'Z'}, {"质", 'Z'}, {"酸", 'S'},
    {"碱", 'J'}, {"管", 'G'}, {"壁", 'B'}, {"膀", 'P'}, {"胱", 'G'},
};

const TSynthOrganSystem kOrganSystems[] = {
    {"0100", "皮肤及其附件损害", "SKIN AND APPENDAGES DISORDERS"},
    {"0200", "肌肉骨骼系统损害", "MUSCULO-SKELETAL SYSTEM DISORDERS"},
    {"0300", "胶原病", "COLLAGEN DISORDERS"},
    {"0410", "中枢及外周神经系统损害", "CENTRAL & PERIPHERAL NERVOUS SYSTEM DISORDERS"},
    {"0420", "植物神经系统损害", "AUTONOMIC NERVOUS SYSTEM DISORDERS"},
    {"0431", "视觉损害", "VISION DISORDERS"},
    {"0432", "听觉和前庭功能损害", "HEARING AND VESTIBULAR DISORDERS"},
    {"0433", "其他特殊感觉损害", "SPECIAL SENSES OTHER, DISORDERS"},
    {"0500", "精神障碍", "PSYCHIATRIC DISORDERS"},
    {"0600", "胃肠系统损害", "GASTRO-INTESTINAL SYSTEM DISORDERS"},
    {"0700", "肝胆系统损害", "LIVER AND BILIARY SYSTEM DISORDERS"},
    {"0800", "代谢和营养障碍", "METABOLIC AND NUTRITIONAL DISORDERS"},
    {"0900", "内分泌紊乱", "ENDOCRINE DISORDERS"},
    {"1010", "一般心血管损害", "CARDIOVASCULAR DISORDERS, GENERAL"},
    {"1020", "心肌、心内膜、心包及瓣膜损害", "MYO-, ENDO-, PERICARDIAL & VALVE DISORDERS"},
    {"1030", "心率及心律紊乱", "HEART RATE AND RHYTHM DISORDERS"},
    {"1040", "血管（心脏外）损害", "VASCULAR (EXTRACARDIAC) DISORDERS"},
    {"1100", "呼吸系统损害", "RESPIRATORY SYSTEM DISORDERS"},
    {"1210", "红细胞异常", "RED BLOOD CELL DISORDERS"},
    {"1220", "白细胞和网状内皮系统异常", "WHITE CELL AND RES DISORDERS"},
    {"1230", "血小板、出血及凝血障碍", "PLATELET, BLEEDING & CLOTTING DISORDERS"},
    {"1300", "泌尿系统损害", "URINARY SYSTEM DISORDERS"},
    {"1410", "男性生殖系统损害", "REPRODUCTIVE DISORDERS, MALE"},
    {"1420", "女性生殖系统损害", "REPRODUCTIVE DISORDERS, FEMALE"},
    {"1500", "胎儿损害", "FOETAL DISORDERS"},
    {"1600", "新生儿和婴儿损害", "NEONATAL AND INFANCY DISORDERS"},
    {"1700", "肿瘤", "NEOPLASMS"},
    {"1810", "全身性损害", "BODY AS A WHOLE - GENERAL DISORDERS"},
    {"1820", "用药部位损害", "APPLICATION SITE DISORDERS"},
    {"1830", "免疫功能紊乱和感染", "RESISTANCE MECHANISM DISORDERS"},
};

const char* const kBodySites[] = {
    "ABDOMEN", "SKIN",  "LIVER",  "KIDNEY",   "HEART",   "LUNG",     "EYE",     "EAR",    "JOINT",
    "MUSCLE",  "BONE",  "STOMACH", "BOWEL",   "BLADDER", "BREAST",   "THROAT",  "TONGUE", "NAIL",
    "HAIR",    "SCALP", "FACE",   "CHEST",    "BACK",    "NECK",     "LIMB",    "FOOT",   "HAND",
    "GUM",     "LIP",   "MOUTH",  "NOSE",     "VEIN",    "ARTERY",   "NERVE",   "BRAIN",  "SPLEEN",
    "PANCREAS", "THYROID", "PROSTATE", "UTERUS", "OVARY", "INJECTION SITE", "RETINA", "CORNEA",
};

const char* const kFindings[] = {
    "PAIN",      "ENLARGED",   "DISORDER", "HAEMORRHAGE", "OEDEMA",     "INFLAMMATION", "DISCOLOURATION",
    "ULCERATION", "NECROSIS",  "ATROPHY",  "HYPERTROPHY", "INFECTION",  "IRRITATION",   "ABNORMAL",
    "DRYNESS",   "SWELLING",   "SPASM",    "FIBROSIS",    "CYST",       "STENOSIS",     "PERFORATION",
    "OBSTRUCTION", "NUMBNESS", "RIGIDITY", "TENDERNESS",  "REACTION",
};

const char* const kConditions[] = {
    "ANAEMIA",     "HEPATITIS",    "DERMATITIS",  "NEUROPATHY",   "ARRHYTHMIA",      "HYPERTENSION",
    "HYPOTENSION", "THROMBOCYTOPENIA", "LEUCOPENIA", "NEPHRITIS", "PANCREATITIS",    "CONJUNCTIVITIS",
    "STOMATITIS",  "URTICARIA",    "PRURITUS",    "RASH",         "NAUSEA",          "VOMITING",
    "DIARRHOEA",   "CONSTIPATION", "HEADACHE",    "DIZZINESS",    "INSOMNIA",        "SOMNOLENCE",
    "CONVULSIONS", "TREMOR",       "FEVER",       "FATIGUE",      "ALOPECIA",        "ARTHRALGIA",
    "MYALGIA",     "TACHYCARDIA",  "BRADYCARDIA", "DYSPNOEA",     "COUGH",           "BRONCHOSPASM",
    "JAUNDICE",    "HAEMATURIA",   "PROTEINURIA", "ANOREXIA",     "AGRANULOCYTOSIS", "PURPURA",
    "ERYTHEMA",    "PHOTOSENSITIVITY REACTION",   "VASCULITIS",   "PNEUMONITIS",     "COLITIS",
};

const char* const kQualifiers[] = {
    "ACUTE",      "CHRONIC",     "SEVERE",     "TRANSIENT",  "TOXIC",       "ALLERGIC",
    "HAEMOLYTIC", "APLASTIC",    "CHOLESTATIC", "INTERSTITIAL", "PERIPHERAL", "GENERALISED",
    "LOCALISED",  "BULLOUS",     "EXFOLIATIVE", "ISCHAEMIC",  "PULMONARY",   "RENAL",
    "DRUG-INDUCED", "RECURRENT", "PERSISTENT",  "NEONATAL",
};

const char* const kEponyms[] = {
    "CROHN'S", "REYE'S",    "BELL'S",  "CUSHING'S", "ADDISON'S", "GRAVES'",  "RAYNAUD'S",
    "PARKINSON'S", "STILL'S", "HASHIMOTO'S", "MENIERE'S", "SJOGREN'S", "LYELL'S", "HODGKIN'S",
};

const char* const kEponymNouns[] = {"DISEASE", "SYNDROME", "PALSY", "PHENOMENON"};

}  // namespace

TSynthList<TSynthHanzi> SynthHanzi() { return ListOf(kHanzi); }
TSynthList<TSynthOrganSystem> SynthOrganSystems() { return ListOf(kOrganSystems); }
TSynthList<const char*> SynthBodySites() { return ListOf(kBodySites); }
TSynthList<const char*> SynthFindings() { return ListOf(kFindings); }
TSynthList<const char*> SynthConditions() { return ListOf(kConditions); }
TSynthList<const char*> SynthQualifiers() { return ListOf(kQualifiers); }
TSynthList<const char*> SynthEponyms() { return ListOf(kEponyms); }
TSynthList<const char*> SynthEponymNouns() { return ListOf(kEponymNouns); }
