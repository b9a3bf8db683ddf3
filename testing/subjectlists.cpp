#include "testing/subjectlists.h"

namespace zol {

QStringList educationItems()
{
    return {QStringLiteral("文盲"), QStringLiteral("小学"), QStringLiteral("初中"),
            QStringLiteral("高中"), QStringLiteral("中专"), QStringLiteral("大专"),
            QStringLiteral("本科"), QStringLiteral("硕士"), QStringLiteral("博士")};
}

QStringList ethnicityItems()
{
    return {QStringLiteral("汉族"),     QStringLiteral("回族"),     QStringLiteral("藏族"),
            QStringLiteral("蒙古族"),   QStringLiteral("朝鲜族"),   QStringLiteral("维吾尔族"),
            QStringLiteral("苗族"),     QStringLiteral("壮族"),     QStringLiteral("满族"),
            QStringLiteral("布依族"),   QStringLiteral("侗族"),     QStringLiteral("彝族"),
            QStringLiteral("瑶族"),     QStringLiteral("白族"),     QStringLiteral("土家族"),
            QStringLiteral("哈尼族"),   QStringLiteral("哈萨克族"), QStringLiteral("傣族"),
            QStringLiteral("黎族"),     QStringLiteral("傈僳族"),   QStringLiteral("佤族"),
            QStringLiteral("高山族"),   QStringLiteral("土族"),     QStringLiteral("羌族"),
            QStringLiteral("布朗族"),   QStringLiteral("撒拉族"),   QStringLiteral("塔吉克族"),
            QStringLiteral("怒族"),     QStringLiteral("乌孜别克族"), QStringLiteral("京族"),
            QStringLiteral("鄂温克族"), QStringLiteral("俄罗斯族"), QStringLiteral("塔塔尔族"),
            QStringLiteral("鄂伦春族"), QStringLiteral("赫哲族"),   QStringLiteral("门巴族"),
            QStringLiteral("珞巴族"),   QStringLiteral("基诺族"),   QStringLiteral("其它民族")};
}

QStringList occupationItems()
{
    // "老师" and "教师" are both items.
    return {QStringLiteral("学生"), QStringLiteral("工人"), QStringLiteral("干部"),
            QStringLiteral("老师"), QStringLiteral("经理"), QStringLiteral("厂长"),
            QStringLiteral("医生"), QStringLiteral("教师"), QStringLiteral("科技"),
            QStringLiteral("管理"), QStringLiteral("技术"), QStringLiteral("营销"),
            QStringLiteral("新闻"), QStringLiteral("电视"), QStringLiteral("工程"),
            QStringLiteral("其它")};
}

QStringList sourceItems()
{
    return {QStringLiteral("咨询"), QStringLiteral("门诊"), QStringLiteral("住院"),
            QStringLiteral("学校"), QStringLiteral("求职"), QStringLiteral("其它")};
}

} // namespace zol
