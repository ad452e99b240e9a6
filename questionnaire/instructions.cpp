#include "questionnaire/instructions.h"

namespace zorven {

const QString kInstructionsHeading = QStringLiteral("Как отвечать");

namespace {

// Which medium a paragraph is read on.
enum class ReadOn { Both, Paper, Screen };

struct Paragraph {
    ReadOn readOn;
    const char16_t *text;
};

// The instructions, paragraph by paragraph. A paragraph marked Both is read on paper and
// on the screen alike; the others only where they apply.
constexpr Paragraph kParagraphs[] = {
    {ReadOn::Paper,
     u"В этом буклете 187 утверждений. К каждому даны три ответа: a, b и c. "
     u"Прочитайте утверждение и выберите ответ, который вернее всего говорит о вас."},
    {ReadOn::Screen,
     u"Вам будут показаны 187 утверждений, по одному. К каждому даны три ответа: a, b и c. "
     u"Прочитайте утверждение и выберите ответ, который вернее всего говорит о вас."},
    {ReadOn::Paper,
     u"В буклете ничего не пишите: ответы отмечаются только на бланке ответов. "
     u"На бланке у каждого утверждения своя клетка с тем же номером. Поставьте "
     u"крестик в квадрат с буквой выбранного ответа. Чтобы исправить ответ, "
     u"закрасьте ошибочный квадрат целиком и отметьте нужный."},
    {ReadOn::Screen,
     u"Чтобы ответить, нажмите кнопку с ответом или клавишу с его буквой или цифрой: "
     u"a, b, c или 1, 2, 3. Ответ сразу сохраняется, и появляется следующее утверждение. "
     u"Чтобы изменить ответ, нажмите «Назад»: вернётся предыдущее утверждение."},
    {ReadOn::Both,
     u"Правильных и неправильных ответов здесь нет: люди разные, и каждый ответ "
     u"кому-то подходит. Исключение — несколько задач на сообразительность: в них "
     u"верен только один ответ."},
    {ReadOn::Both,
     u"Отвечайте на каждое утверждение, не пропуская ни одного. Средний ответ (b) "
     u"выбирайте лишь тогда, когда ни a, ни c действительно не подходят. В задачах "
     u"на сообразительность выбирайте ответ, который считаете верным."},
    {ReadOn::Both,
     u"Работайте быстро. Не раздумывайте подолгу над одним утверждением: первый "
     u"естественный ответ обычно и есть самый точный."},
    {ReadOn::Paper,
     u"Прежде чем начать, заполните верх бланка: фамилию и инициалы, пол, возраст "
     u"(полных лет) и сегодняшнюю дату."},
    {ReadOn::Paper, u"Переверните страницу, когда будете готовы начать."},
    {ReadOn::Screen, u"Когда будете готовы, нажмите «Начать»."},
};

bool isReadOn(ReadOn readOn, AnsweringMedium medium)
{
    return readOn == ReadOn::Both
           || (readOn == ReadOn::Paper) == (medium == AnsweringMedium::Paper);
}

} // namespace

QStringList instructionParagraphs(AnsweringMedium medium)
{
    QStringList paragraphs;
    for (const Paragraph &paragraph : kParagraphs) {
        if (isReadOn(paragraph.readOn, medium))
            paragraphs << QString::fromUtf16(paragraph.text);
    }
    return paragraphs;
}

} // namespace zorven
