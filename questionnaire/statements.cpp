// The 187 statements of Form A, each with its three options a, b, c.
//
// Statements 1 and 2 check that the instructions are understood and that the respondent
// means to answer frankly; 187 checks that every statement was answered with care, option b
// confirming. The thirteen reasoning problems keep their correct letter beside them. Every
// other statement is graded and belongs to one of the sixteen scales below:
//
// A   Warmth towards people. High: open, attentive to others, at home in company, likes work
//     with people and helping them. Low: reserved and detached, prefers things, figures and
//     ideas to people, keeps others at a distance.
// B   Reasoning. High: quickly sees the relation in a series, an analogy or a short argument
//     and counts accurately. Low: slower and less sure on such abstract problems.
// C   Emotional steadiness. High: calm and even-tempered, takes setbacks in stride, copes
//     with everyday demands. Low: easily upset, changeable moods, thrown by trifles and by
//     pressure, tends to avoid difficulties.
// E   Assertiveness. High: stands up for own view, likes to lead, competitive, insistent,
//     says no to others. Low: yielding, accommodating, avoids disputes, easily persuaded.
// F   Liveliness. High: cheerful, talkative, spontaneous, fond of fun, noise and company.
//     Low: serious, restrained, deliberate, prefers quiet and a measured pace.
// G   Conscientiousness. High: keeps promises and rules, finishes what is assigned, duty
//     before wishes. Low: free with rules and obligations, expedient, chooses the pleasant.
// H   Social boldness. High: at ease with strangers and before an audience, speaks up,
//     enjoys risk. Low: shy, timid, stays in the background, uneasy in front of others.
// I   Sensitivity. High: tender-minded, easily moved, responsive to art, beauty and
//     feelings. Low: practical, tough-minded, unsentimental, values use over beauty.
// L   Vigilance. High: wary and suspicious of others' motives, checks before trusting,
//     feels used or envied. Low: trusting, takes people in good faith, easy to get on with.
// M   Imagination. High: absorbed in ideas and fantasy, dreamy, absent-minded about
//     practical details. Low: down-to-earth, attentive to the concrete, practical.
// N   Discretion. High: diplomatic and tactful, keeps own counsel, thinks out how to
//     approach people. Low: forthright and open, says what is meant, shows feelings.
// O   Apprehension. High: worried, self-doubting, self-reproaching, sensitive to
//     disapproval. Low: self-assured, untroubled, quick to shake off a blunder.
// Q1  Openness to change. High: likes the new, experiments, questions the accepted.
//     Low: holds to the familiar and proven, respects tradition.
// Q2  Self-reliance. High: prefers to decide and work alone, needs no group support.
//     Low: group-oriented, seeks advice, company and approval.
// Q3  Self-discipline. High: organised, plans, checks, controls impulses, mindful of own
//     image. Low: careless of order and plans, acts on impulse.
// Q4  Tension. High: impatient, irritable, restless, driven, finds it hard to relax.
//     Low: relaxed, patient, placid, unhurried.
//
// Each statement is written so that the pole its key gives (see answer_key.cpp) is the
// answer of a respondent high on its factor: for key 210 option a, for key 012 option c.
// Both poles are meant to be answers a sensible person can give without embarrassment: a
// statement that only a saint or only a rogue could answer one way sorts nobody. Every
// statement can be answered by any adult, working or not, living in a town or a village,
// whether or not one travels, reads or goes out, and none assumes one sex's pursuits.
//
// The reasoning problems are graded, three easy (53, 54, 103), five moderate (28, 77, 78,
// 152, 153) and five hard (102, 127, 128, 177, 178), so that an ordinary adult solves seven
// or eight of them: that is where the B rows of the norm tables put the middle of the
// population. A moderate or hard problem needs two steps, or has a first answer that looks
// right and is wrong. Each wrong option is a mistake someone actually makes, and each
// problem has one answer that a rule can defend. Of the eight problems whose options can be
// put in order (days by date, people by height), the correct one is the middle value in
// three (28, 102, 152), the smallest in three (127, 177, 178) and the largest in two (77,
// 78), so no guess by size earns more than chance. The letters are the printed key's: a
// three times, b six times, c four times. The working is noted beside each problem.

#include "questionnaire/statements.h"

#include "questionnaire/cp1251.h"

#include <array>
#include <string_view>

namespace zorven {
namespace {

using Options = std::array<std::string_view, 3>;

struct Statement {
    std::string_view text;
    Options options;
    char solution = 0; // reasoning problems: the letter of the correct option
};

// The same kind of statement always offers the same three answers, so a respondent learns
// them once and a middle answer means the same thing everywhere: "in part", "it depends",
// "sometimes", never "I don't know", which would be a way out rather than an answer.
//
// A trait, a state or a habit of one's own, or how others see one:
constexpr Options kTrueOfMe{"верно", "отчасти", "неверно"};
// An opinion about life and people that does not speak of the respondent. The answers need no
// masculine or feminine ending, and the middle is partial agreement, not a shrug:
constexpr Options kAgreement{"да, это так", "отчасти", "нет, это не так"};
// What one likes, prefers or finds interesting:
constexpr Options kLiking{"да", "когда как", "нет"};
// How often something happens to one, or one catches oneself doing it:
constexpr Options kHowOften{"часто", "иногда", "почти никогда"};
// How one acts in the situation the statement names:
constexpr Options kHowUsually{"обычно", "иногда", "почти никогда"};
//
// A statement ending in a colon has options of its own. Where it sets two ways side by side,
// the middle is «когда как» for what one does or feels and «трудно выбрать» for which of two
// one prefers; a stem that already says "usually" or "more often" never offers «когда как».
// Elsewhere the middle is a real degree between the poles («в меру весёлым», «немного»).

constexpr std::array<Statement, kStatementCount> kStatements = {{
    /*   1 */ {"Инструкция мне понятна: я знаю, как отмечать ответы на бланке.", {"да", "не совсем", "нет"}},
    /*   2 */ {"Я собираюсь отвечать честно — так, как есть на самом деле, а не так, как было бы «правильно».", {"да", "постараюсь", "нет"}},
    /*   3 */ {"Если выбирать, мне больше подошла бы работа:", {"где много общения с людьми", "трудно выбрать", "с техникой, цифрами или документами"}},
    /*   4 */ {"С повседневными хлопотами я справляюсь спокойно, без лишних волнений.", kTrueOfMe},
    /*   5 */ {"Моё настроение портится из-за пустяков.", kHowOften},
    /*   6 */ {"В споре с друзьями я скорее уступлю, чем буду настаивать на своём.", kTrueOfMe},
    /*   7 */ {"Мне нравится руководить людьми и распределять между ними обязанности.", kLiking},
    /*   8 */ {"Мне больше по душе:", {"тихий вечер дома", "трудно выбрать", "шумный праздник с друзьями"}},
    /*   9 */ {"Правило можно и нарушить, если так лучше для дела и никому от этого не хуже.", kAgreement},
    /*  10 */ {"Заговорить с незнакомым человеком мне:", {"легко", "когда как", "трудно"}},
    /*  11 */ {"Если выбирать, в фильме мне важнее:", {"напряжённый, захватывающий сюжет", "трудно выбрать", "тонко показанные чувства героев"}},
    /*  12 */ {"Хорошая книга или хороший фильм меня:", {"трогает до глубины души", "немного трогает", "почти не трогает"}},
    /*  13 */ {"Большинство людей, с которыми я имею дело, честны со мной.", kTrueOfMe},
    /*  14 */ {"В свободную минуту мне больше по душе:", {"заняться каким-нибудь полезным делом", "трудно выбрать", "помечтать или подумать о своём"}},
    /*  15 */ {"Я хорошо замечаю мелочи вокруг себя: что где лежит, что изменилось в комнате.", kTrueOfMe},
    /*  16 */ {"Я говорю людям то, что думаю, даже если это может их задеть.", kHowUsually},
    /*  17 */ {"Я умею держать свои планы при себе, пока не придёт время о них сказать.", kTrueOfMe},
    /*  18 */ {"Если кто-то мной недоволен, я:", {"долго переживаю", "немного огорчаюсь", "быстро об этом забываю"}},
    /*  19 */ {"Сомнения в своих силах у меня бывают:", {"редко", "иногда", "часто"}},
    /*  20 */ {"Мне нравится делать привычные дела по-новому.", kLiking},
    /*  21 */ {"Проверенные временем порядки лучше новшеств.", kAgreement},
    /*  22 */ {"Прежде чем принять важное решение, я советуюсь с близкими.", kHowUsually},
    /*  23 */ {"Порядок в вещах я навожу, только когда без этого уже не обойтись.", kTrueOfMe},
    /*  24 */ {"Я берусь за дело, не продумав заранее, как буду его выполнять.", kHowOften},
    /*  25 */ {"Когда приходится ждать, например в очереди, я сохраняю спокойствие.", kHowUsually},
    /*  26 */ {"Связь со старыми знакомыми — звонки, поздравления с праздниками — я поддерживаю:", {"редко", "время от времени", "постоянно и охотно"}},
    /*  27 */ {"Мне уютнее, когда люди держатся со мной немного на расстоянии.", kTrueOfMe},
    // Moderate, two steps. Each number is the sum of the two before it (6 = 2 + 4, ...,
    // 26 = 10 + 16), so 16 + 26 = 42; seen as steps, 2, 2, 4, 6, 10 are built the same way
    // and the next is 16. 36 repeats the last step, 52 doubles the last number.
    /*  28 */ {"Какое число продолжает ряд: 2, 4, 6, 10, 16, 26, …?", {"36", "42", "52"}, 'b'},
    /*  29 */ {"Когда неудачи идут одна за другой, мне трудно собраться с силами.", kTrueOfMe},
    /*  30 */ {"По-моему, вывести меня из равновесия:", {"трудно", "смотря чем", "легко"}},
    /*  31 */ {"Если кто-то делает дело не так, как я считаю правильным, я:", {"не вмешиваюсь", "осторожно подсказываю", "настаиваю, чтобы делали по-моему"}},
    /*  32 */ {"Если мне дают поручение, которое я считаю неразумным, я:", {"молча его выполняю", "смотря по обстоятельствам", "говорю, что думаю, и предлагаю своё"}},
    /*  33 */ {"Я люблю шутить и смешить окружающих.", kLiking},
    /*  34 */ {"Среди друзей опоздать на несколько минут — не беда: главное, что встретились.", kAgreement},
    /*  35 */ {"В новой компании я долго стесняюсь.", kTrueOfMe},
    /*  36 */ {"Смутить меня непросто.", kTrueOfMe},
    /*  37 */ {"Искусство — музыка, живопись, театр — для меня:", {"очень важно", "кое-что значит", "мало что значит"}},
    /*  38 */ {"Когда человек слишком любезен со мной, я начинаю подозревать, что ему что-то нужно.", kHowUsually},
    /*  39 */ {"Задумавшись, я прохожу мимо нужного дома или проезжаю свою остановку.", kHowOften},
    /*  40 */ {"Я люблю размышлять о чём-то отвлечённом, далёком от повседневных забот.", kLiking},
    /*  41 */ {"Новым знакомым я охотно рассказываю о себе и своей жизни.", kTrueOfMe},
    /*  42 */ {"К важному разговору я:", {"заранее продумываю, как лучше подойти к человеку", "немного готовлюсь", "не готовлюсь: говорю как есть"}},
    /*  43 */ {"Я упрекаю себя за ошибки, даже за совсем небольшие.", kHowOften},
    /*  44 */ {"Приняв решение, я спокойно иду дальше: что решено, то решено.", kTrueOfMe},
    /*  45 */ {"Гулять и отдыхать я предпочитаю в знакомых местах, где всё уже известно.", kLiking},
    /*  46 */ {"Мне интересно оспаривать общепринятые мнения.", kLiking},
    /*  47 */ {"Мне удобнее трудиться:", {"в одиночку", "трудно выбрать", "вместе с другими"}},
    /*  48 */ {"Я расписываю свои дела на день или на неделю вперёд.", kHowOften},
    /*  49 */ {"Когда люди вокруг делают всё слишком медленно, я:", {"начинаю раздражаться", "стараюсь не обращать внимания", "спокойно жду"}},
    /*  50 */ {"Мне трудно расслабиться, даже когда у меня есть свободное время.", kTrueOfMe},
    /*  51 */ {"Когда знакомые подолгу рассказывают о своих делах, мне хочется вернуться к собственным занятиям.", kHowOften},
    /*  52 */ {"Я люблю, когда у меня дома собираются гости.", kLiking},
    // Easy. Rain leaves a puddle behind, frost leaves ice. «Снег» pairs with rain
    // instead of with the puddle; «зима» is merely the season of frost.
    /*  53 */ {"Слово «дождь» относится к слову «лужа» так же, как слово «мороз» — к слову:", {"«зима»", "«лёд»", "«снег»"}, 'b'},
    // Easy. Eel, perch and burbot are fish; the dolphin is a beast. All four names are
    // masculine, so no rule of form singles one out. The eel, shaped like a snake, draws one
    // who thinks it is no fish; the burbot draws one who does not know the name.
    /*  54 */ {"Какое слово не подходит к остальным: угорь, окунь, дельфин, налим?", {"угорь", "дельфин", "налим"}, 'b'},
    /*  55 */ {"Обычно на душе у меня спокойно.", kTrueOfMe},
    /*  56 */ {"Если все вокруг против моего мнения, я всё равно стою на своём.", kHowUsually},
    /*  57 */ {"Когда в семье или среди друзей решают, как поступить, последнее слово остаётся:", {"чаще за другими", "когда как", "чаще за мной"}},
    /*  58 */ {"Я легко заражаю окружающих своим весельем.", kTrueOfMe},
    /*  59 */ {"Если мне объяснили, как сделать дело, а я вижу способ попроще, я:", {"делаю по-своему, если результат тот же", "когда как", "делаю так, как мне объяснили"}},
    /*  60 */ {"Выступать перед большой аудиторией для меня:", {"настоящее испытание", "непросто, но терпимо", "не составляет труда"}},
    /*  61 */ {"Если нужно позвонить незнакомым людям по делу, я откладываю это как можно дольше.", kHowUsually},
    /*  62 */ {"В воспитании детей строгость важнее ласки.", kAgreement},
    /*  63 */ {"Новым знакомым я доверяю:", {"легко", "не сразу", "с большой осторожностью"}},
    /*  64 */ {"Если кто-то причинил мне неприятность, я думаю, что это вышло случайно, а не назло.", kHowUsually},
    /*  65 */ {"Я люблю придумывать необычные истории и фантазировать.", kLiking},
    /*  66 */ {"Мне трудно скрыть, что человек мне неприятен.", kTrueOfMe},
    /*  67 */ {"Поддерживать вежливую беседу с человеком, который мне скучен, для меня:", {"трудно", "непросто, но получается", "легко"}},
    /*  68 */ {"Меня мало беспокоит, что обо мне подумают другие.", kTrueOfMe},
    /*  69 */ {"Перед важным событием меня одолевают мысли о том, что всё пойдёт не так.", kHowUsually},
    /*  70 */ {"Мне хочется попробовать новинку, как только она появится.", kLiking},
    /*  71 */ {"Целый день наедине с собой для меня:", {"приятный отдых", "терпимо", "скучно и тоскливо"}},
    /*  72 */ {"Со своими трудностями я предпочитаю справляться без чужой помощи.", kLiking},
    /*  73 */ {"Я слежу за своим видом и манерами, даже дома, среди своих.", kTrueOfMe},
    /*  74 */ {"Мне кажется, что я не успеваю сделать всё, что нужно.", kHowOften},
    /*  75 */ {"К шуму и суете вокруг я отношусь спокойно.", kTrueOfMe},
    /*  76 */ {"Если выбирать одно, руководителю важнее:", {"чётко организовать работу", "трудно выбрать", "понимать людей и заботиться о них"}},
    // Moderate, two steps. The first sentence gives Andrei > Boris > Grigory, the second
    // Andrei > Viktor > Boris; only together do they give Andrei > Viktor > Boris > Grigory,
    // so Viktor is second. Boris, between the other two in the first sentence, is the
    // answer of one who stops there; Grigory that of one who reads «ниже Андрея, но выше
    // Григория» as «ниже Андрея и Григория».
    /*  77 */ {"Борис ниже Андрея, но выше Григория. Виктор выше Бориса, но ниже Андрея. Кто из них второй по росту, если считать от самого высокого?", {"Борис", "Григорий", "Виктор"}, 'c'},
    // Moderate, two steps. 1 h 40 min = 100 min, two and a half times 40 min, so the train
    // covers 2,5 x 60 = 150 km. 90 km/h is the speed, where one stops after the first step;
    // 126 takes 1 h 40 min for 1,4 h (90 x 1,4).
    /*  78 */ {"Поезд идёт с постоянной скоростью и проходит 60 км за 40 минут. Сколько километров он пройдёт за 1 ч 40 мин?", {"90 км", "150 км", "126 км"}, 'b'},
    /*  79 */ {"Когда на меня наваливается много дел сразу, я теряюсь.", kHowUsually},
    /*  80 */ {"У меня бывают перепады настроения без видимой причины.", kHowOften},
    /*  81 */ {"Когда несколько человек делают общее дело, я:", {"выполняю то, что мне поручат", "когда как", "беру инициативу в свои руки"}},
    /*  82 */ {"Друзья считают меня человеком:", {"серьёзным и сдержанным", "в меру весёлым", "весёлым и живым"}},
    /*  83 */ {"На праздниках я охотно включаюсь в общее веселье.", kTrueOfMe},
    /*  84 */ {"Если подвернулось приятное занятие, а у меня намечены дела, я:", {"откладываю дела: подождут", "смотря какие дела", "сначала заканчиваю дела"}},
    /*  85 */ {"Я предпочитаю держаться в тени, чтобы меня не замечали.", kLiking},
    /*  86 */ {"Если мне предложат вести праздничный вечер, я:", {"постараюсь отказаться", "соглашусь, если больше некому", "соглашусь с удовольствием"}},
    /*  87 */ {"В жизни главное — практическая польза, а красота — дело второе.", kAgreement},
    /*  88 */ {"Многие люди добры только до тех пор, пока им это выгодно.", kAgreement},
    /*  89 */ {"Если придётся надолго уехать и оставить кому-то ключи от дома, я:", {"оставлю их соседям или знакомым", "оставлю только самым близким", "лучше не оставлю никому"}},
    /*  90 */ {"Я человек практичный и твёрдо стою на земле.", kTrueOfMe},
    /*  91 */ {"Увлёкшись интересной идеей, я забываю о бытовых мелочах.", kHowUsually},
    /*  92 */ {"Если нужно отказать человеку в просьбе, я:", {"говорю «нет» прямо: так честнее", "когда как", "подбираю мягкие слова, чтобы не обидеть"}},
    /*  93 */ {"Я умею отгонять тревожные мысли.", kTrueOfMe},
    /*  94 */ {"Я ловлю себя на мысли, что другие люди справляются с жизнью лучше, чем я.", kHowOften},
    /*  95 */ {"Новые взгляды, которые переворачивают привычные представления, я встречаю:", {"с недоверием", "с осторожным интересом", "с живым интересом"}},
    /*  96 */ {"Чтобы уверенно делать своё дело, мне нужны поддержка и одобрение окружающих.", kTrueOfMe},
    /*  97 */ {"Над трудной задачей мне лучше думается:", {"когда есть с кем её обсудить", "трудно выбрать", "в тишине, наедине с собой"}},
    /*  98 */ {"Закончив дело, я ещё раз всё перепроверяю, хотя это и отнимает время.", kHowUsually},
    /*  99 */ {"Когда у меня что-то не ладится, я начинаю злиться.", kHowUsually},
    /* 100 */ {"Кропотливую, медленную работу я делаю терпеливо и спокойно.", kTrueOfMe},
    /* 101 */ {"Друзья и знакомые делятся со мной своими заботами.", kHowOften},
    // Hard, two series interleaved: 2, 4, 6, 8 in the odd places and 30, 27, 23 in the even
    // ones, whose steps grow (-3, -4), so the eighth number is 23 - 5 = 18. Read as one
    // series the differences +28, -26, +23, -21, +17, -15 go on with +10: 18 again. 10
    // continues the series whose turn it is not; 19 keeps the last step -4.
    /* 102 */ {"Какое число продолжает ряд: 2, 30, 4, 27, 6, 23, 8, …?", {"10", "19", "18"}, 'c'},
    // Easy. Diligent against negligent. «Бессердечный» is caught by the look of the word
    // («усердный» holds «сердце»); «отстающий» by the diligent pupil set against the one who
    // lags behind, though lagging is an outcome, not a want of effort.
    /* 103 */ {"Какое слово противоположно по смыслу слову «усердный»?", {"бессердечный", "нерадивый", "отстающий"}, 'b'},
    /* 104 */ {"Неприятность, которую нельзя изменить, я:", {"принимаю спокойно", "переживаю какое-то время", "долго не могу принять"}},
    /* 105 */ {"Неожиданная плохая новость:", {"не выбивает меня из колеи", "ненадолго выбивает из колеи", "надолго выбивает из колеи"}},
    /* 106 */ {"Уговорить меня на что-нибудь:", {"легко", "смотря на что", "трудно"}},
    /* 107 */ {"Мне больше по душе, когда в компании:", {"неспешно беседуют", "трудно выбрать", "шутят и смеются"}},
    /* 108 */ {"Радость я выражаю сдержанно, без бурных восторгов.", kTrueOfMe},
    /* 109 */ {"Если начатое дело оказалось скучным, я:", {"всё равно довожу его до конца", "доделываю, если оно нужно", "спокойно его бросаю"}},
    /* 110 */ {"Когда ко мне неожиданно обращаются с вопросом при всех, я отвечаю спокойно, без смущения.", kTrueOfMe},
    /* 111 */ {"Мне нравится рисковать ради острых ощущений.", kLiking},
    /* 112 */ {"Грубость и резкие слова, даже сказанные не мне, меня задевают.", kTrueOfMe},
    /* 113 */ {"Я держу ухо востро, чтобы никто не использовал меня в своих целях.", kTrueOfMe},
    /* 114 */ {"Если мне не объясняют причину какого-то решения, я подозреваю, что от меня что-то скрывают.", kHowOften},
    /* 115 */ {"Слушая чей-нибудь рассказ, я так ясно всё представляю, будто вижу своими глазами.", kTrueOfMe},
    /* 116 */ {"Мне приходят в голову идеи, которые окружающим кажутся странными.", kHowOften},
    /* 117 */ {"Я умею найти подход к людям разного характера и с каждым договориться.", kTrueOfMe},
    /* 118 */ {"Даже когда всё в порядке, я жду какой-нибудь неприятности.", kHowOften},
    /* 119 */ {"Когда меня критикуют, моя уверенность в себе:", {"надолго пропадает", "ненадолго колеблется", "не меняется"}},
    /* 120 */ {"Хорошо, когда в семье всё делается так, как было заведено ещё родителями.", kAgreement},
    /* 121 */ {"Мне важно чувствовать себя частью коллектива или компании.", kTrueOfMe},
    /* 122 */ {"Прежде чем составить своё мнение о фильме, книге или человеке, я хочу узнать, что думают другие.", kTrueOfMe},
    /* 123 */ {"Я принимаю решения под влиянием минуты.", kHowOften},
    /* 124 */ {"Когда меня перебивают, я с трудом сдерживаю раздражение.", kHowUsually},
    /* 125 */ {"Если меня не поняли с первого раза, я объясняю ещё раз:", {"спокойно, сколько потребуется", "сдерживая нетерпение", "с досадой на потерянное время"}},
    /* 126 */ {"Когда у близкого человека плохое настроение, я:", {"стараюсь расспросить и приободрить", "когда как", "жду, пока это пройдёт само"}},
    // Hard. Notebook x, book x + 300, together 2x + 300 = 340, so x = 20. 40 is the
    // difference taken for the price; 170 shares the sum in half and forgets the 300.
    /* 127 */ {"Книга дороже тетради на 300 рублей, а вместе они стоят 340 рублей. Сколько стоит тетрадь?", {"40 рублей", "170 рублей", "20 рублей"}, 'c'},
    // Hard. Both wrong options are true of real roses and flowers, and neither follows:
    // the flowers that wilt quickly may all be other flowers (so a fails), and for all the
    // two statements say, every flower might be a rose (so c fails). Only b is a conclusion
    // the premises support. The pull of what is known to be true is the trap.
    /* 128 */ {"Все розы — цветы. Некоторые цветы быстро вянут. Значит:", {"некоторые розы быстро вянут", "быстро ли вянут розы, отсюда не узнать", "некоторые цветы — не розы"}, 'b'},
    /* 129 */ {"Из-за неприятностей я теряю сон или аппетит.", kHowOften},
    /* 130 */ {"Когда дело срочное и времени в обрез, я:", {"сохраняю ясную голову", "немного волнуюсь", "путаюсь и не могу сосредоточиться"}},
    /* 131 */ {"В играх и состязаниях для меня главное:", {"обойти соперника", "и победа, и удовольствие", "само удовольствие от игры"}},
    /* 132 */ {"В весёлой компании я быстро становлюсь душой общества.", kHowUsually},
    /* 133 */ {"Предложение неожиданно куда-нибудь поехать я встречаю:", {"с радостью", "спокойно", "с неудовольствием"}},
    /* 134 */ {"Сначала обязанности, потом отдых — даже если на отдых уже не останется сил.", kAgreement},
    /* 135 */ {"Когда за тем, что я делаю, наблюдают другие, я:", {"делаю всё как обычно", "немного сбиваюсь", "начинаю ошибаться"}},
    /* 136 */ {"Когда в семье, с соседями или на работе обсуждают важный для всех вопрос, я:", {"высказываюсь одним из первых", "говорю, если спросят", "предпочитаю промолчать"}},
    /* 137 */ {"Жалость — плохой советчик в серьёзных делах.", kAgreement},
    /* 138 */ {"Я обращаю внимание на красоту природы: как падает свет, как меняется небо.", kHowOften},
    /* 139 */ {"Когда меня критикуют, я верю, что человек желает мне добра.", kHowUsually},
    /* 140 */ {"Мысленно я часто уношусь далеко от того, что происходит вокруг.", kTrueOfMe},
    /* 141 */ {"Конкретное дело с быстрым видимым результатом мне больше по душе, чем размышления и замыслы.", kTrueOfMe},
    /* 142 */ {"Прежде чем высказать своё мнение, я прикидываю, как его примут.", kTrueOfMe},
    /* 143 */ {"Неловкие случаи ещё долго всплывают у меня в памяти.", kTrueOfMe},
    /* 144 */ {"Когда я думаю о будущем, я чувствую:", {"спокойствие", "то спокойствие, то тревогу", "тревогу"}},
    /* 145 */ {"Перемены в жизни — переезд, новое занятие, новые люди — меня скорее привлекают, чем пугают.", kTrueOfMe},
    /* 146 */ {"Новому делу я предпочитаю учиться без наставника, пробуя и разбираясь самостоятельно.", kLiking},
    /* 147 */ {"Решений вроде «с понедельника начну делать зарядку» я придерживаюсь недолго.", kTrueOfMe},
    /* 148 */ {"Большое дело я делю на части и выполняю их по порядку.", kHowUsually},
    /* 149 */ {"Мне не сидится на месте: без дела я быстро начинаю маяться.", kTrueOfMe},
    /* 150 */ {"В споре с близкими я:", {"говорю спокойно, не повышая голоса", "иногда повышаю голос", "быстро завожусь и повышаю голос"}},
    /* 151 */ {"Долгие разговоры по душам меня утомляют.", kTrueOfMe},
    // Moderate, two steps. The day after tomorrow is Saturday, so today is Thursday; 10 days
    // = a week and 3 days, and three days before Thursday is Monday. Tuesday takes
    // «послезавтра» for «завтра» (or counts today among the ten); Sunday counts forward.
    /* 152 */ {"Послезавтра будет суббота. Какой день недели был десять дней назад?", {"понедельник", "вторник", "воскресенье"}, 'a'},
    // Moderate. Wastefulness is generosity carried too far; caution carried too far is
    // cowardice. «Смелость» is the opposite of caution, taken by one who reads the first
    // pair as opposites; «предусмотрительность» is caution's neighbour, not its excess.
    /* 153 */ {"Слово «щедрость» относится к слову «расточительность» так же, как слово «осторожность» — к слову:", {"«смелость»", "«предусмотрительность»", "«трусость»"}, 'c'},
    /* 154 */ {"От неприятных дел и известий я стараюсь отгородиться, лишь бы не расстраиваться.", kHowOften},
    /* 155 */ {"Если меня плохо обслужили, я:", {"требую, чтобы всё исправили", "делаю замечание", "молча ухожу"}},
    /* 156 */ {"Ради важного для меня дела я добиваюсь своего, даже если кому-то это не нравится.", kHowUsually},
    /* 157 */ {"Мне по душе тихая, размеренная жизнь, в которой мало событий.", kLiking},
    /* 158 */ {"Если выбирать одно, в разговоре я больше ценю:", {"глубину и точность", "трудно выбрать", "живость и юмор"}},
    /* 159 */ {"Маленькие хитрости — часть житейской смекалки: без них в жизни не обойтись.", kAgreement},
    /* 160 */ {"Мелкие правила и запреты я соблюдаю, даже когда они кажутся мне лишними.", kHowUsually},
    /* 161 */ {"Рядом с важными, влиятельными людьми я чувствую себя скованно.", kHowOften},
    /* 162 */ {"Старые письма, открытки и памятные мелочи я без сожаления выбрасываю.", kTrueOfMe},
    /* 163 */ {"Выбирая вещь — одежду, мебель, телефон, — я обращаю внимание:", {"прежде всего на то, насколько она красива", "на то и другое поровну", "прежде всего на то, насколько она удобна и прочна"}},
    /* 164 */ {"О своих удачах я рассказываю не всем: кто-нибудь может и позавидовать.", kTrueOfMe},
    /* 165 */ {"Мне интереснее истории:", {"о том, что было на самом деле", "трудно выбрать", "вымышленные, о небывалом"}},
    /* 166 */ {"Гадать о том, что могло бы быть, мне неинтересно: важно то, что есть.", kTrueOfMe},
    /* 167 */ {"В трудном разговоре я сохраняю дружелюбный тон, даже когда внутри всё кипит.", kHowUsually},
    /* 168 */ {"Если кто-то обиделся на мои неосторожные слова, потом я:", {"извиняюсь и больше об этом не думаю", "какое-то время жалею", "долго корю себя"}},
    /* 169 */ {"Старые привычки я легко меняю на новые.", kTrueOfMe},
    /* 170 */ {"Из книг, фильмов и передач мне больше по душе:", {"то, что уже знаю и люблю", "трудно выбрать", "что-то незнакомое"}},
    /* 171 */ {"Пойти без компании на прогулку или на праздник мне:", {"вполне привычно", "непривычно, но можно", "скучно, лучше не пойду"}},
    /* 172 */ {"Если вещь мне понравилась и деньги есть, я покупаю её сразу, не раздумывая.", kHowOften},
    /* 173 */ {"Нужную бумагу или вещь я нахожу у себя за минуту: всё лежит на своих местах.", kTrueOfMe},
    /* 174 */ {"Мой обычный темп жизни:", {"быстрый, в вечной спешке", "умеренный", "спокойный и неторопливый"}},
    /* 175 */ {"Когда планы внезапно срываются, я:", {"спокойно ищу замену", "немного досадую", "злюсь и нервничаю"}},
    /* 176 */ {"Мне нравится брать на себя заботу о других: помочь устроиться, подсказать, поддержать.", kLiking},
    // Hard. 21, 42, 91 and 98 are multiples of 7 (91 = 13 x 7, 98 = 14 x 7); 86 is not
    // (84 and 91 are). 86, 91 and 98 all lie beyond the multiplication table, 91 looks
    // prime, and 98 looks no more like a multiple than 86 does, so each has to be checked.
    // Parity splits the five 3 against 2, and division by 3 does too; only the rule of 7
    // singles one number out.
    /* 177 */ {"Какое число не подходит к остальным: 21, 42, 86, 91, 98?", {"86", "98", "91"}, 'a'},
    // Hard, two steps. In four years the sum is 30, so today it is 30 - 8 = 22; with a
    // difference of 6 the brother is (22 + 6) / 2 = 14. 18 is his age in four years (the
    // step back forgotten); 15 halves the 30.
    /* 178 */ {"Брат старше сестры на 6 лет. Через 4 года вместе им будет 30 лет. Сколько лет брату сейчас?", {"14", "18", "15"}, 'a'},
    /* 179 */ {"Если день не задался с утра, я:", {"не даю этому испортить весь день", "когда как", "до вечера хожу не в духе"}},
    /* 180 */ {"В жизни надо уметь постоять за себя, пусть даже резко.", kAgreement},
    /* 181 */ {"Знакомые считают, что я умею настоять на своём.", kTrueOfMe},
    /* 182 */ {"Я люблю, когда вокруг много движения, музыки и смеха.", kLiking},
    /* 183 */ {"Я легко увлекаюсь разговором.", kTrueOfMe},
    /* 184 */ {"Небольшие обещания — перезвонить, вернуть вещь — я выполняю:", {"точно в срок", "почти всегда вовремя", "когда освобожусь: сначала важные дела"}},
    /* 185 */ {"Если выбирать одно, в людях я больше ценю:", {"добросовестность", "трудно выбрать", "находчивость"}},
    /* 186 */ {"Мне нравится быть в центре внимания.", kLiking},
    /* 187 */ {"Все утверждения прочитаны мною внимательно, ответы даны добросовестно, пропусков нет.", {"нет, есть пропуски", "да, всё так", "нет, часть ответов дана наугад"}},
}};

constexpr bool allTextsFit()
{
    for (const Statement &s : kStatements) {
        const auto length = cp1251::length(s.text);
        if (length < 11 || length > kStatementCapacity - 1 || !cp1251::isSingleLineText(s.text))
            return false;
        for (std::string_view option : s.options) {
            const auto optionLength = cp1251::length(option);
            if (optionLength < 2 || optionLength > kOptionCapacity - 1
                || !cp1251::isSingleLineText(option))
                return false;
        }
    }
    return true;
}
static_assert(allTextsFit(), "every statement holds 11..160 and every option 2..79 characters "
                             "of code page 1251, without line breaks");

constexpr int reasoningProblemCount()
{
    int count = 0;
    for (const Statement &s : kStatements) {
        if (s.solution != 0 && s.solution != 'a' && s.solution != 'b' && s.solution != 'c')
            return -1;
        count += s.solution != 0;
    }
    return count;
}
static_assert(reasoningProblemCount() == 13, "thirteen reasoning problems, each with a letter a..c");

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

QString statementText(int q)
{
    Q_ASSERT(q >= 1 && q <= kStatementCount);
    return fromUtf8(kStatements[q - 1].text);
}

QString optionText(int entry)
{
    Q_ASSERT(entry >= 1 && entry <= kOptionCount);
    return fromUtf8(kStatements[(entry - 1) / 3].options[(entry - 1) % 3]);
}

char reasoningSolution(int q)
{
    Q_ASSERT(q >= 1 && q <= kStatementCount);
    return kStatements[q - 1].solution;
}

} // namespace zorven
