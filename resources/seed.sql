-- What a new database holds: the message catalogue, the shop settings row
-- and a first user with every right. The owner changes the first user's
-- password after the first login.

INSERT INTO charset (charno, gb) VALUES
    ('1004', '两次输入的密码不一致！'),
    ('1006', '密码不能为空！'),
    ('1015', '请选择服务项目！'),
    ('1016', '确认删除?'),
    ('1017', '提示'),
    ('1018', '请输入会员卡号！'),
    ('1019', '没有此会员！'),
    ('1020', '项目编号或名称不能为空！'),
    ('1021', '提成比例必须在0到100之间！'),
    ('1022', '项目编号不能为空！'),
    ('2004', '请先选择要修改的流程！'),
    ('2005', '没有可添加流程的服务项目！'),
    ('2006', '启用'),
    ('2007', '停用'),
    ('2008', '美发'),
    ('2009', '美容');

INSERT INTO userinfo (gods_code, gods_name, gods_spec, gods_type, gods_kind, sale_value)
    VALUES ('货品编码', '货品名称', '规格', '型号', '种类', 0);

INSERT INTO employee (empl_code, empl_name) VALUES ('admin', '管理员');

-- 38 function positions, each granted.
INSERT INTO powers (user_id, password, pow_use, pow_add, pow_edit, pow_dele, pow_chek, pow_find, pow_prin)
    VALUES ('admin', 'admin',
            '11111111111111111111111111111111111111',
            '11111111111111111111111111111111111111',
            '11111111111111111111111111111111111111',
            '11111111111111111111111111111111111111',
            '11111111111111111111111111111111111111',
            '11111111111111111111111111111111111111',
            '11111111111111111111111111111111111111');
